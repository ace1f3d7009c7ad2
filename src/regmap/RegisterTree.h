#pragma once
// The register tree: six roots, their categories and the register leaves, each node
// carrying a key (its text, except "GPIO  Values") so that nodes can be found by key.

#include <QString>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace kestrum {

inline constexpr int kTreeNodeCount = 197;

// Clears the tree and adds every node in build order with its text colour.
void BuildRegisterTree(QTreeWidget& TreeView1);

QString TreeNodeKey(const QTreeWidgetItem& node);
// The node with that key, or nullptr.
QTreeWidgetItem* FindTreeNodeByKey(const QTreeWidget& tree, const QString& key);
// The nodes in the order they were added: element n - 1 is node number n.
std::vector<QTreeWidgetItem*> TreeNodesInOrder(const QTreeWidget& tree);
// Node number n, counted from 1 in adding order, or nullptr.
QTreeWidgetItem* TreeNode(const QTreeWidget& tree, int number);

}  // namespace kestrum
