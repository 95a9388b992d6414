#include "FolderList.h"

#include "ImportTGARules.h"

#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace kestrund {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kIndent = 12;

// Folders are indented by their depth below the drive, so the path to the open folder reads
// as a staircase with its subfolders one step further in.
class TIndentDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(option.rect.left() + kIndent * index.data(kLevelRole).toInt());
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(kIndent * index.data(kLevelRole).toInt(), 0);
    }
};

QString Cleaned(const QString& folder)
{
    return QDir::cleanPath(QDir::fromNativeSeparators(folder));
}

QString Parent(const QString& folder)
{
    return Cleaned(QString::fromStdString(ParentFolder(folder.toStdString())));
}

bool IsBelow(const QString& folder, const QString& root)
{
    return folder == root || folder.startsWith(root.endsWith('/') ? root : root + '/');
}

} // namespace

TFolderList::TFolderList(QWidget* parent)
    : QWidget(parent)
{
    lbDir = new QListWidget;
    lbDir->setObjectName("lbDir");
    lbDir->setStatusTip("Select Directory");
    lbDir->setItemDelegate(new TIndentDelegate(lbDir));
    lbDir->installEventFilter(this);
    connect(lbDir, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            emit FolderSelected(item->data(kPathRole).toString());
    });
    connect(lbDir, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { OpenDirectory(item->data(kPathRole).toString()); });
    cbDrive = new QComboBox;
    cbDrive->setObjectName("cbDrive");
    cbDrive->setStatusTip("Select Drive");
    connect(cbDrive, &QComboBox::activated, this, [this](int index) { OpenDirectory(cbDrive->itemData(index).toString()); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lbDir, 1);
    layout->addWidget(cbDrive);
    FillDrives();
}

QStringList TFolderList::DriveRoots()
{
    QStringList roots;
    auto add = [&roots](const QString& root) {
        const QString cleaned = Cleaned(root);
        if (!cleaned.isEmpty() && !roots.contains(cleaned))
            roots.append(cleaned);
    };
#ifdef Q_OS_WIN
    for (const QFileInfo& drive : QDir::drives())
        add(drive.absolutePath());
#else
    add(QDir::rootPath());
    add(QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            add(volume.rootPath());
#endif
    return roots;
}

void TFolderList::FillDrives()
{
    cbDrive->clear();
    for (const QString& root : DriveRoots())
        cbDrive->addItem(QDir::toNativeSeparators(root), root);
}

void TFolderList::OpenDirectory(const QString& folder)
{
    FDirectory = Cleaned(folder);
    // The drive is the longest root the folder lies below.
    int drive = -1;
    for (int i = 0; i < cbDrive->count(); ++i) {
        const QString root = cbDrive->itemData(i).toString();
        if (IsBelow(FDirectory, root) && (drive < 0 || root.size() > cbDrive->itemData(drive).toString().size()))
            drive = i;
    }
    if (drive < 0) { // a folder on a volume mounted since the list was made
        FillDrives();
        cbDrive->addItem(QDir::toNativeSeparators(FDirectory), FDirectory);
        drive = cbDrive->count() - 1;
    }
    cbDrive->setCurrentIndex(drive);
    const QString root = cbDrive->itemData(drive).toString();

    QStringList chain{FDirectory};
    while (chain.front() != root && Parent(chain.front()) != chain.front())
        chain.prepend(Parent(chain.front()));

    {
        const QSignalBlocker blocker(lbDir);
        lbDir->clear();
        auto add = [this](const QString& path, const QString& text, int level, bool open) {
            auto* item = new QListWidgetItem(
                style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon), text, lbDir);
            item->setData(kPathRole, path);
            item->setData(kLevelRole, level);
            item->setToolTip(QDir::toNativeSeparators(path));
        };
        for (int level = 0; level < chain.size(); ++level)
            add(chain[level], level == 0 ? QDir::toNativeSeparators(chain[level]) : QFileInfo(chain[level]).fileName(),
                level, true);
        for (const QFileInfo& sub :
             QDir(FDirectory).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
            add(sub.absoluteFilePath(), sub.fileName(), int(chain.size()), false);
        lbDir->setCurrentRow(int(chain.size()) - 1);
    }
    emit FolderSelected(FDirectory);
}

bool TFolderList::FolderKey(int key)
{
    const QListWidgetItem* item = lbDir->currentItem();
    if (!item)
        return key == Qt::Key_Left;
    const QString selected = item->data(kPathRole).toString();
    switch (key) {
    case Qt::Key_Left: {
        const QString parent = Parent(selected);
        if (parent != FDirectory) {
            OpenDirectory(parent);
            return true;
        }
        // A subfolder of the open folder: step back onto the open folder.
        for (int row = 0; row < lbDir->count(); ++row)
            if (lbDir->item(row)->data(kPathRole).toString() == parent)
                lbDir->setCurrentRow(row);
        return true;
    }
    case Qt::Key_Right:
        if (selected == FDirectory)
            return false;
        OpenDirectory(selected);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OpenDirectory(selected); // Enter opens the folder rather than pressing a dialog's default button
        return true;
    default:
        return false;
    }
}

bool TFolderList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbDir && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier)
            return FolderKey(key->key());
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kestrund
