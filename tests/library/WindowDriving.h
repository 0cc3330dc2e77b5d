#pragma once

// Driving the real widgets of the library and About windows from a test: menu
// actions, clicks on tree nodes, clicks on grid rows, and modal openings.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

namespace WindowDriving {

// Triggers the window's action of that name; fails the test when the action
// is missing or disabled, so that a lost menu item cannot pass unnoticed.
inline bool triggerAction(QWidget* window, const QString& name)
{
    auto* action = window->findChild<QAction*>(name);
    if (!action) {
        qWarning("no action named %s", qPrintable(name));
        return false;
    }
    if (!action->isEnabled()) {
        qWarning("action %s is disabled", qPrintable(name));
        return false;
    }
    action->trigger();
    return true;
}

// The tree's nodes as text, groups separated by " | ", each group as
// "group: category, category"; a group without categories reads "group:".
inline QString treeText(const QTreeWidget* tree)
{
    QStringList groups;
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = tree->topLevelItem(g);
        QStringList categories;
        for (int c = 0; c < group->childCount(); ++c)
            categories << group->child(c)->text(0);
        groups << group->text(0) + QLatin1Char(':') + (categories.isEmpty() ? QString() : QLatin1Char(' ') + categories.join(QStringLiteral(", ")));
    }
    return groups.join(QStringLiteral(" | "));
}

inline QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& group, const QString& category = QString())
{
    for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        QTreeWidgetItem* node = tree->topLevelItem(g);
        if (node->text(0) != group)
            continue;
        if (category.isEmpty())
            return node;
        for (int c = 0; c < node->childCount(); ++c) {
            if (node->child(c)->text(0) == category)
                return node->child(c);
        }
    }
    return nullptr;
}

// A left click on a node, where a user would click it. A category's group is
// expanded first so that the node is on screen.
inline bool clickNode(QTreeWidget* tree, QTreeWidgetItem* node)
{
    if (!node)
        return false;
    if (node->parent())
        tree->expandItem(node->parent());
    tree->scrollToItem(node);
    const QRect rect = tree->visualItemRect(node);
    if (!rect.isValid())
        return false;
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    return true;
}

inline QRect rowRect(QTableView* grid, int row)
{
    const QModelIndex index = grid->model()->index(row, 0);
    grid->scrollTo(index);
    return grid->visualRect(index);
}

// A click on a row, which makes it the current row.
inline bool clickRow(QTableView* grid, int row)
{
    const QRect rect = rowRect(grid, row);
    if (!rect.isValid())
        return false;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    return true;
}

// A double-click on a row, as a user makes it: a click, then the double-click.
inline bool doubleClickRow(QTableView* grid, int row)
{
    if (!clickRow(grid, row))
        return false;
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rowRect(grid, row).center());
    return true;
}

// A double-click in the grid's empty area below its rows.
inline void doubleClickEmptyGrid(QTableView* grid)
{
    const QPoint below(grid->viewport()->width() / 2, grid->viewport()->height() - 5);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
}

// Runs `open`, which shows a window modally and returns when it has closed;
// `whileOpen` runs inside the modal loop and gets the open modal window,
// which is closed afterwards. Returns false when no modal window appeared.
inline bool whileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& whileOpen)
{
    bool done = false;
    bool sawModal = false;
    QTimer::singleShot(0, qApp, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        sawModal = modal != nullptr;
        if (modal) {
            whileOpen(modal);
            modal->close();
        }
        done = true;
    });
    open();
    if (!QTest::qWaitFor([&] { return done; }))
        return false;
    return sawModal;
}

} // namespace WindowDriving
