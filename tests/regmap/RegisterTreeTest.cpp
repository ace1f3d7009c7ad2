#include "regmap/RegisterTree.h"

#include <gtest/gtest.h>

#include <QTreeWidget>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "regmap/RegMapStuff.h"
#include "support/Fixture.h"

namespace kestrum {
namespace {

int Depth(const QTreeWidgetItem& node) {
    int depth = 0;
    for (const QTreeWidgetItem* p = node.parent(); p != nullptr; p = p->parent()) ++depth;
    return depth;
}

class RegisterTreeTest : public test::KestrumTest {
protected:
    void SetUp() override {
        KestrumTest::SetUp();
        InitRegisterTable();
        BuildRegisterTree(tree);
    }

    // The category a register leaf stands under.
    QString CategoryOf(const std::string& name) const {
        const QTreeWidgetItem* leaf = FindTreeNodeByKey(tree, QString::fromStdString(name));
        return leaf == nullptr ? QString() : leaf->parent()->text(0);
    }

    QTreeWidget tree;
};

TEST_F(RegisterTreeTest, ShapeAndColoursOfTheTree) {
    const std::vector<QTreeWidgetItem*> nodes = TreeNodesInOrder(tree);
    ASSERT_EQ(nodes.size(), static_cast<size_t>(kTreeNodeCount));

    const std::map<int, QString> roots = {{1, "General"},   {39, "Temperature"}, {63, "Fan"},
                                          {139, "Voltage"}, {185, "GPIO"},       {191, "THERM Timer"}};
    const std::vector<QColor> colours = {QColor(0, 128, 0), QColor(192, 0, 0), QColor(0, 0, 192)};
    std::vector<int> perDepth(3, 0);
    std::map<QString, int> categoriesPerRoot;
    for (int n = 1; n <= kTreeNodeCount; ++n) {
        const QTreeWidgetItem& node = *TreeNode(tree, n);
        const int depth = Depth(node);
        ASSERT_LT(depth, 3) << "node " << n;
        ++perDepth[depth];
        EXPECT_EQ(depth == 0, roots.count(n) == 1) << "node " << n;
        if (depth == 0) {
            EXPECT_EQ(node.text(0), roots.at(n));
        }
        if (depth == 1) ++categoriesPerRoot[node.parent()->text(0)];
        EXPECT_EQ(node.foreground(0).color(), colours[depth]) << "node " << n;
        if (depth == 2) {
            EXPECT_EQ(node.childCount(), 0) << "node " << n;
        }
    }
    EXPECT_EQ(perDepth, (std::vector<int>{6, 21, 170}));
    EXPECT_EQ(categoriesPerRoot, (std::map<QString, int>{{"General", 4},
                                                         {"Temperature", 3},
                                                         {"Fan", 7},
                                                         {"Voltage", 3},
                                                         {"GPIO", 2},
                                                         {"THERM Timer", 2}}));
    EXPECT_EQ(TreeNode(tree, 0), nullptr);
    EXPECT_EQ(TreeNode(tree, kTreeNodeCount + 1), nullptr);
}

TEST_F(RegisterTreeTest, KeysAndTextsOfTheGpioValuesCategory) {
    const QTreeWidgetItem* values = FindTreeNodeByKey(tree, "GPIO Values");
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->text(0), "GPIO  Values");
    EXPECT_EQ(values->parent()->text(0), "GPIO");
    ASSERT_EQ(values->childCount(), 1);
    EXPECT_EQ(values->child(0)->text(0), "GPIO Status,Host");
    EXPECT_EQ(FindTreeNodeByKey(tree, "GPIO  Values"), nullptr);

    // Everywhere else the key is the text.
    for (const QTreeWidgetItem* node : TreeNodesInOrder(tree))
        if (node != values) {
            EXPECT_EQ(TreeNodeKey(*node), node->text(0));
        }
}

TEST_F(RegisterTreeTest, EveryRecordButTheHostTwinsStandsOnce) {
    std::map<std::string, int> leaves;
    for (const QTreeWidgetItem* node : TreeNodesInOrder(tree))
        if (Depth(*node) == 2) ++leaves[node->text(0).toStdString()];

    const std::set<int> leftOut = {145, 146, 148, 149, 150, 151};
    for (int i = 0; i < kRegisterCount; ++i) {
        const auto found = leaves.find(gRegisters[i].Name);
        const int count = found == leaves.end() ? 0 : found->second;
        EXPECT_EQ(count, leftOut.count(i) == 1 ? 0 : 1) << gRegisters[i].Name;
    }
    EXPECT_EQ(leaves.size(), 170u);  // no leaf outside the table
}

TEST_F(RegisterTreeTest, BothNamesOfAnAddressStandInDifferentCategories) {
    EXPECT_EQ(CategoryOf("Tach 1 Limit"), "Tach");
    EXPECT_EQ(CategoryOf("VID"), "Voltage Control");
    EXPECT_EQ(CategoryOf("Remote 1 Low Limit"), "Limits");
    EXPECT_EQ(CategoryOf("Pin 15 Low Limit"), "Voltage Limits");
    EXPECT_EQ(CategoryOf("Local THERM1 Limit"), "THERM Limits");
    EXPECT_EQ(CategoryOf("1.5V2 (ICH) High Limit"), "Voltage Limits");

    for (int i = kPrimaryRegisterCount; i < kRegisterCount; ++i) {
        const RegisterInfo& alternate = gRegisters[i];
        const RegisterInfo& primary = gRegisters[FindRegisterByAddress(alternate.Address)];
        EXPECT_FALSE(CategoryOf(alternate.Name).isEmpty()) << alternate.Name;
        EXPECT_NE(CategoryOf(alternate.Name), CategoryOf(primary.Name)) << alternate.Name;
    }
}

TEST_F(RegisterTreeTest, OrderWithinCategories) {
    const QTreeWidgetItem* status = FindTreeNodeByKey(tree, "Status");
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(status->childCount(), 16);
    EXPECT_EQ(status->child(0)->text(0), "Thermal Status 1,BMC");
    EXPECT_EQ(status->child(2)->text(0), "Thermal Status 3,Host");
    EXPECT_EQ(status->child(15)->text(0), "EDO Mask 2");

    const QTreeWidgetItem* limits = FindTreeNodeByKey(tree, "Voltage Limits");
    ASSERT_NE(limits, nullptr);
    ASSERT_EQ(limits->childCount(), 26);
    EXPECT_EQ(limits->child(3)->text(0), "Pin 15 Low Limit");
    EXPECT_EQ(limits->child(8)->text(0), "1.5V1 (3GIO) High Limit");
    EXPECT_EQ(limits->child(25)->text(0), "+12V3 High Limit");

    // Node numbers count leaves too: the first leaf follows its category.
    EXPECT_EQ(TreeNode(tree, 2)->text(0), "Configuration");
    EXPECT_EQ(TreeNode(tree, 3)->text(0), "Configuration 0");
    EXPECT_EQ(TreeNode(tree, kTreeNodeCount)->text(0), "THERM 2% Ontime");
}

TEST_F(RegisterTreeTest, RebuildingClearsFirstAndFollowsTheTable) {
    tree.topLevelItem(0)->setExpanded(true);
    gRegisters[73].Name = "Renamed Tmin";
    BuildRegisterTree(tree);
    EXPECT_EQ(TreeNodesInOrder(tree).size(), static_cast<size_t>(kTreeNodeCount));
    EXPECT_EQ(CategoryOf("Renamed Tmin"), "Tmin");
    EXPECT_EQ(FindTreeNodeByKey(tree, "Local Tmin"), nullptr);
    EXPECT_FALSE(tree.topLevelItem(0)->isExpanded());  // the builder expands nothing
}

}  // namespace
}  // namespace kestrum
