#include "ShellFolderModel.h"

#include <QCollator>
#include <QCursor>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>

#include <algorithm>

#include "ShellNamespace.h"

struct ShellFolderModel::Node {
    enum class Kind { Folder, Desktop, Computer };

    Kind kind = Kind::Folder;
    QString name;
    QByteArray path;
    QIcon icon;
    bool hasSubfolders = false;
    bool listed = false;
    Node* parent = nullptr;
    int row = 0;
    std::vector<std::unique_ptr<Node>> children;

    void adopt(std::vector<std::unique_ptr<Node>> nodes)
    {
        children = std::move(nodes);
        for (size_t i = 0; i < children.size(); ++i) {
            children[i]->parent = this;
            children[i]->row = static_cast<int>(i);
        }
    }
};

namespace {

const QString kComputerName = QStringLiteral("计算机");

// Listing a big or remote folder can take a while; the pointer says so.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// As a file manager orders folders: ignoring case, numbers by value ("2" before "10").
QCollator folderCollator()
{
    // The plain "C" locale compares code points and knows no numbers: use the
    // language of the program's own texts instead.
    QLocale locale;
    if (locale.language() == QLocale::C)
        locale = QLocale(QLocale::Chinese, QLocale::China);
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(true);
    return collator;
}

QString displayName(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray name = path.mid(slash + 1);
    return name.isEmpty() ? QFile::decodeName(path) : QFile::decodeName(name);
}

} // namespace

ShellFolderModel::ShellFolderModel(QObject* parent) : QAbstractItemModel(parent), root_(std::make_unique<Node>())
{
    const QByteArray desktopPath = shell::DesktopFolder();
    auto desktop = std::make_unique<Node>();
    desktop->kind = Node::Kind::Desktop;
    desktop->name = displayName(desktopPath);
    desktop->path = desktopPath;
    desktop->icon = icons_.icon(QFileIconProvider::Desktop);
    desktop->hasSubfolders = true;   // at least the home folder or the computer

    std::vector<std::unique_ptr<Node>> top;
    top.push_back(std::move(desktop));
    root_->adopt(std::move(top));
    root_->listed = true;
}

ShellFolderModel::~ShellFolderModel() = default;

QModelIndex ShellFolderModel::desktopIndex() const { return index(0, 0); }

ShellFolderModel::Node* ShellFolderModel::nodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<Node*>(index.internalPointer()) : root_.get();
}

QByteArray ShellFolderModel::pathOf(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->path : QByteArray();
}

QString ShellFolderModel::displayNameOf(const QModelIndex& index) const
{
    return index.isValid() ? nodeOf(index)->name : QString();
}

std::unique_ptr<ShellFolderModel::Node> ShellFolderModel::folderNode(const QByteArray& path, const QString& name) const
{
    auto node = std::make_unique<Node>();
    node->name = name;
    node->path = path;
    node->icon = icons_.icon(QFileInfo(QFile::decodeName(path)));
    node->hasSubfolders = shell::HasSubfolders(path);
    return node;
}

std::vector<std::unique_ptr<ShellFolderModel::Node>> ShellFolderModel::sortedSubfolders(const QByteArray& folder) const
{
    std::vector<std::unique_ptr<Node>> nodes;
    for (const QByteArray& name : shell::Subfolders(folder))
        nodes.push_back(folderNode(shell::JoinPath(folder, name), QFile::decodeName(name)));

    const QCollator collator = folderCollator();
    std::sort(nodes.begin(), nodes.end(), [&](const auto& a, const auto& b) {
        const int order = collator.compare(a->name, b->name);
        return order != 0 ? order < 0 : a->path < b->path;
    });
    return nodes;
}

std::vector<std::unique_ptr<ShellFolderModel::Node>> ShellFolderModel::listChildren(const Node& node) const
{
    switch (node.kind) {
    case Node::Kind::Desktop: {
        std::vector<std::unique_ptr<Node>> children;
        const QByteArray home = shell::HomeFolder();
        if (home != node.path)
            children.push_back(folderNode(home, displayName(home)));
        auto computer = std::make_unique<Node>();
        computer->kind = Node::Kind::Computer;
        computer->name = kComputerName;
        computer->icon = icons_.icon(QFileIconProvider::Computer);
        computer->hasSubfolders = true;   // the root at least
        children.push_back(std::move(computer));
        for (auto& folder : sortedSubfolders(node.path))
            children.push_back(std::move(folder));
        return children;
    }
    case Node::Kind::Computer: {
        std::vector<std::unique_ptr<Node>> children;
        std::vector<QByteArray> mountPoints = shell::UserVolumes();
        std::sort(mountPoints.begin(), mountPoints.end());
        mountPoints.insert(mountPoints.begin(), QByteArray("/"));
        for (const QByteArray& mountPoint : mountPoints) {
            auto volume = folderNode(mountPoint, QFile::decodeName(mountPoint));
            volume->icon = icons_.icon(QFileIconProvider::Drive);
            children.push_back(std::move(volume));
        }
        return children;
    }
    case Node::Kind::Folder:
        break;
    }
    return sortedSubfolders(node.path);
}

QModelIndex ShellFolderModel::index(int row, int column, const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    if (column != 0 || row < 0 || static_cast<size_t>(row) >= node->children.size())
        return {};
    return createIndex(row, column, node->children[static_cast<size_t>(row)].get());
}

QModelIndex ShellFolderModel::parent(const QModelIndex& index) const
{
    if (!index.isValid())
        return {};
    Node* parentNode = nodeOf(index)->parent;
    if (parentNode == root_.get())
        return {};
    return createIndex(parentNode->row, 0, parentNode);
}

int ShellFolderModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    return static_cast<int>(nodeOf(parent)->children.size());
}

int ShellFolderModel::columnCount(const QModelIndex&) const { return 1; }

QVariant ShellFolderModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Node* node = nodeOf(index);
    switch (role) {
    case Qt::DisplayRole:
        return node->name;
    case Qt::DecorationRole:
        return node->icon;
    default:
        return {};
    }
}

Qt::ItemFlags ShellFolderModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

bool ShellFolderModel::hasChildren(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    return node->listed ? !node->children.empty() : node->hasSubfolders;
}

bool ShellFolderModel::canFetchMore(const QModelIndex& parent) const
{
    const Node* node = nodeOf(parent);
    return !node->listed && node->hasSubfolders;
}

void ShellFolderModel::fetchMore(const QModelIndex& parent)
{
    Node* node = nodeOf(parent);
    if (node->listed)
        return;
    // Until the view has taken the new rows in.
    BusyCursor busy;
    std::vector<std::unique_ptr<Node>> children = listChildren(*node);
    node->listed = true;
    if (children.empty()) {
        // The subfolders seen earlier are gone: the expand button goes with them.
        node->hasSubfolders = false;
        emit dataChanged(parent, parent);
        return;
    }
    beginInsertRows(parent, 0, static_cast<int>(children.size()) - 1);
    node->adopt(std::move(children));
    endInsertRows();
}
