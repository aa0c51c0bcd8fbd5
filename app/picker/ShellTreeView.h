#pragma once
#include <QTreeView>
#include <string>

class ShellFolderModel;

// The shell folder tree of the picker: folders only, starting at the desktop,
// which is expanded and selected from the start. Once a folder is selected
// there always is one, as in the shell's own tree.
class TShellTreeView : public QTreeView {
    Q_OBJECT

public:
    explicit TShellTreeView(QWidget* parent = nullptr);

    ShellFolderModel* shellModel() const { return model_; }
    QModelIndex selectedFolder() const;

    // The selected folder as the picker hands it on: its full path; the display
    // name for a virtual folder, which has no path; empty with nothing selected.
    std::string Path() const;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;

private:
    void selectCollapsedAncestor(const QModelIndex& collapsed);

    ShellFolderModel* model_;
};
