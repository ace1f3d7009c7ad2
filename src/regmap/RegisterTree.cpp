#include "regmap/RegisterTree.h"

#include <QBrush>
#include <QColor>
#include <QTreeWidget>
#include <vector>

#include "core/Twips.h"
#include "regmap/RegMapStuff.h"

namespace kestrum {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kIndentTwips = 200;

const QColor kRootColour(0, 128, 0);
const QColor kCategoryColour(192, 0, 0);
const QColor kLeafColour(0, 0, 192);

// One category of the tree: its root, its text and key, and the register-table indexes
// of its leaves in display order. A root is added before its first category.
struct TreeCategory {
    const char* root;
    const char* text;
    const char* key;
    std::vector<int> leaves;
};

const std::vector<TreeCategory>& Categories() {
    static const std::vector<TreeCategory> categories = {
        {"General", "Configuration", "Configuration", {0, 1, 2, 3, 5, 10, 11, 12, 18}},
        {"General", "Pin Configuration", "Pin Configuration", {13, 14, 15, 16, 17}},
        {"General",
         "Status",
         "Status",
         {153, 154, 147, 155, 156, 157, 158, 37, 38, 39, 40, 41, 42, 43, 44, 45}},
        {"General", "ID/Revision", "ID/Revision", {46, 47, 48}},
        {"Temperature", "Values", "Values", {108, 109, 110, 111, 112, 113, 114, 115}},
        {"Temperature", "Limits", "Limits", {49, 50, 51, 52, 53, 54, 55, 56}},
        {"Temperature", "Offsets", "Offsets", {67, 68, 69, 70}},
        {"Fan", "Fan Control", "Fan Control", {4, 21, 22, 23, 24, 25}},
        {"Fan", "PWM", "PWM", {139, 140, 141, 142, 26, 27, 28, 29, 30, 31, 32, 33, 34, 35, 36}},
        {"Fan", "Tmin", "Tmin", {8, 9, 73, 74, 75, 76}},
        {"Fan", "Trange/Hys", "Trange/Hys", {77, 78, 79, 80}},
        {"Fan", "Operating Point", "Operating Point", {71, 72, 81}},
        {"Fan", "THERM Limits", "THERM Limits", {57, 58, 59, 60, 61, 62, 63, 64, 65, 66}},
        {"Fan", "Tach", "Tach", {98,  99,  100, 101, 102, 103, 104, 105, 123, 124, 125, 126,
                                 127, 128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 138}},
        {"Voltage", "Voltage Control", "Voltage Control", {19, 20, 164}},
        {"Voltage", "Voltage Limits", "Voltage Limits", {82, 83, 84, 159, 160, 161, 162, 163, 175,
                                                         85, 86, 87, 88,  89,  90,  91,  92,  93,
                                                         94, 95, 96, 97,  165, 166, 167, 168}},
        {"Voltage",
         "Voltage Values",
         "Voltage Values",
         {116, 117, 118, 119, 120, 121, 122, 169, 170, 171, 172, 173, 174}},
        {"GPIO", "Behaviour", "Behaviour", {6, 7}},
        {"GPIO", "GPIO  Values", "GPIO Values", {152}},
        {"THERM Timer", "Timer Limits", "Timer Limits", {106, 107}},
        {"THERM Timer", "Timer Values", "Timer Values", {143, 144}},
    };
    return categories;
}

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& key, const QString& text,
                         const QColor& colour) {
    auto* node = new QTreeWidgetItem(QStringList{text});  // owned by its parent from here on
    node->setData(0, kKeyRole, key);
    node->setForeground(0, QBrush(colour));
    parent->addChild(node);
    return node;
}

void AppendDepthFirst(const QTreeWidgetItem& parent, std::vector<QTreeWidgetItem*>& nodes) {
    for (int i = 0; i < parent.childCount(); ++i) {
        nodes.push_back(parent.child(i));
        AppendDepthFirst(*parent.child(i), nodes);
    }
}

}  // namespace

void BuildRegisterTree(QTreeWidget& TreeView1) {
    TreeView1.clear();
    TreeView1.setIndentation(TwipsToPixels(kIndentTwips));
    QTreeWidgetItem* top = TreeView1.invisibleRootItem();
    QTreeWidgetItem* root = nullptr;
    for (const TreeCategory& category : Categories()) {
        if (root == nullptr || TreeNodeKey(*root) != QLatin1String(category.root))
            root = AddNode(top, category.root, category.root, kRootColour);
        QTreeWidgetItem* node = AddNode(root, category.key, category.text, kCategoryColour);
        for (const int index : category.leaves) {
            const QString name = QString::fromStdString(gRegisters[index].Name);
            AddNode(node, name, name, kLeafColour);
        }
    }
}

QString TreeNodeKey(const QTreeWidgetItem& node) { return node.data(0, kKeyRole).toString(); }

QTreeWidgetItem* FindTreeNodeByKey(const QTreeWidget& tree, const QString& key) {
    for (QTreeWidgetItem* node : TreeNodesInOrder(tree))
        if (TreeNodeKey(*node) == key) return node;
    return nullptr;
}

// Every node is appended to its parent right after the nodes before it, so the
// depth-first order of the tree is the order of adding.
std::vector<QTreeWidgetItem*> TreeNodesInOrder(const QTreeWidget& tree) {
    std::vector<QTreeWidgetItem*> nodes;
    AppendDepthFirst(*tree.invisibleRootItem(), nodes);
    return nodes;
}

QTreeWidgetItem* TreeNode(const QTreeWidget& tree, int number) {
    const std::vector<QTreeWidgetItem*> nodes = TreeNodesInOrder(tree);
    if (number < 1 || number > static_cast<int>(nodes.size())) return nullptr;
    return nodes[number - 1];
}

}  // namespace kestrum
