#include "ShellTreeView.h"

#include <QHeaderView>
#include <QStyledItemDelegate>

#include "ShellFolderModel.h"

namespace {

// The selected folder shows its open-folder icon.
class OpenWhenSelectedDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state.setFlag(QStyle::State_Open, option->state.testFlag(QStyle::State_Selected));
    }
};

bool isAncestor(const QModelIndex& ancestor, QModelIndex index)
{
    for (index = index.parent(); index.isValid(); index = index.parent()) {
        if (index == ancestor)
            return true;
    }
    return false;
}

} // namespace

TShellTreeView::TShellTreeView(QWidget* parent) : QTreeView(parent), model_(new ShellFolderModel(this))
{
    setModel(model_);
    setItemDelegate(new OpenWhenSelectedDelegate(this));
    setHeaderHidden(true);
    // Long names widen the column and bring a horizontal scroll bar instead of being cut.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setIndentation(19);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));

    connect(this, &QTreeView::collapsed, this, &TShellTreeView::selectCollapsedAncestor);

    const QModelIndex desktop = model_->desktopIndex();
    model_->fetchMore(desktop);
    expand(desktop);
    setCurrentIndex(desktop);
}

QModelIndex TShellTreeView::selectedFolder() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

std::string TShellTreeView::Path() const
{
    const QModelIndex folder = selectedFolder();
    if (!folder.isValid())
        return {};
    const QByteArray path = model_->pathOf(folder);
    if (path.isEmpty())
        return model_->displayNameOf(folder).toStdString();
    return path.toStdString();
}

QItemSelectionModel::SelectionFlags TShellTreeView::selectionCommand(const QModelIndex& index,
                                                                     const QEvent* event) const
{
    // Ctrl+click would leave the tree with no folder selected.
    const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
    return command.testFlag(QItemSelectionModel::Deselect) ? QItemSelectionModel::NoUpdate : command;
}

void TShellTreeView::selectCollapsedAncestor(const QModelIndex& collapsed)
{
    // A folder hidden by collapsing its parent must not stay the one that OK confirms.
    if (isAncestor(collapsed, selectedFolder()))
        setCurrentIndex(collapsed);
}
