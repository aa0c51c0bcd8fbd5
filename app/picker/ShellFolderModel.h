#pragma once
#include <QAbstractItemModel>
#include <QByteArray>
#include <QFileIconProvider>
#include <QIcon>
#include <QString>
#include <memory>
#include <vector>

// The shell's folder namespace as a tree: the desktop on top; under it the
// home folder, the computer (the file system root and the mounted volumes)
// and the desktop's own subfolders. A folder's subfolders are listed the first
// time the view fetches them and kept for the rest of the run: the model never
// watches the file system and never reads a folder twice.
class ShellFolderModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit ShellFolderModel(QObject* parent = nullptr);
    ~ShellFolderModel() override;

    QModelIndex desktopIndex() const;

    // The folder's full path; empty for a virtual folder such as the computer.
    QByteArray pathOf(const QModelIndex& index) const;
    QString displayNameOf(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    struct Node;

    Node* nodeOf(const QModelIndex& index) const;
    std::unique_ptr<Node> folderNode(const QByteArray& path, const QString& name) const;
    std::vector<std::unique_ptr<Node>> listChildren(const Node& node) const;
    std::vector<std::unique_ptr<Node>> sortedSubfolders(const QByteArray& folder) const;

    QFileIconProvider icons_;
    std::unique_ptr<Node> root_;   // invisible; its only child is the desktop
};
