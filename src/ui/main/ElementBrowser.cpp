#include "ElementBrowser.h"

#include "IniFile.h"
#include "MainFormPanels.h"
#include "ViewPicture.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace kestrund {

namespace {
const char* const kSection = "Browser";
constexpr int kGap = 6; // between thumbnails
const char* const kKindNames[KindCount] = {"Tiles",        "Borders",    "Rivers",
                                           "Improvements", "Tile Rules", "Variation Rules"};
} // namespace

TElementListModel::TElementListModel(TTileSetDocument& document, QObject* parent)
    : QAbstractListModel(parent), FDocument(document)
{
    connect(&document, &TTileSetDocument::ElementsMoved, this, &TElementListModel::ElementsMoved);
    connect(&document, &TTileSetDocument::ElementChanged, this, &TElementListModel::ElementChanged);
    connect(&document, &TTileSetDocument::SetReplaced, this, &TElementListModel::Reset);
    Reset();
}

int TElementListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FCache.size());
}

QVariant TElementListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto i = static_cast<std::size_t>(index.row());
    const auto kind = static_cast<TSheetKind>(FKind);
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(ElementLabel(FDocument.Set(), kind, i, FHex));
    case IdRole: return QString::fromStdString(ElementIdText(FDocument.Set(), kind, i, FHex));
    case Qt::DecorationRole: return Thumbnail(index.row());
    default: return {};
    }
}

const QImage& TElementListModel::Thumbnail(int row) const
{
    QImage& image = FCache[static_cast<std::size_t>(row)];
    if (image.isNull()) {
        const QSize size = PictureSize();
        image = QImage(size, QImage::Format_RGB32);
        TQImageSurface surface(image);
        DrawElementPicture(FDocument.Set(), static_cast<TSheetKind>(FKind), static_cast<std::size_t>(row), FColors,
                           FZoom, surface, 0, 0);
        ++FDrawn;
    }
    return image;
}

void TElementListModel::SetKind(int kind)
{
    if (kind == FKind)
        return;
    FKind = kind;
    Reset();
}

void TElementListModel::SetLook(int zoom, bool hex, const TSheetColors& colors)
{
    if (zoom == FZoom && hex == FHex && colors == FColors)
        return;
    const bool resized = zoom != FZoom;
    const bool redraw = resized || colors != FColors;
    FZoom = zoom;
    FHex = hex;
    FColors = colors;
    if (redraw)
        ForgetAll();
    else if (!FCache.empty()) // the labels alone
        emit dataChanged(index(0), index(rowCount() - 1));
    if (resized)
        emit PictureSizeChanged();
}

void TElementListModel::Reset()
{
    beginResetModel();
    const TSheetSize before = FPicture;
    FCache.assign(SheetCount(FDocument.Set(), static_cast<TSheetKind>(FKind)), QImage());
    FPicture = kestrund::PictureSize(FDocument.Set(), static_cast<TSheetKind>(FKind));
    endResetModel();
    if (FPicture != before)
        emit PictureSizeChanged();
}

void TElementListModel::ElementsMoved(int kind)
{
    if (kind == FKind)
        Reset();
    else if (Shows(kind))
        ForgetAll();
}

void TElementListModel::ElementChanged(int kind, std::size_t i)
{
    if (kind == FKind && FKind == kImprovements &&
        kestrund::PictureSize(FDocument.Set(), TSheetKind::Improvements) != FPicture)
        Reset(); // the widest improvement sets every cell's width
    else if (kind == FKind && i < FCache.size()) {
        FCache[i] = QImage();
        emit dataChanged(index(static_cast<int>(i)), index(static_cast<int>(i)));
    } else if (Shows(kind))
        ForgetAll();
}

bool TElementListModel::Shows(int kind) const
{
    return kind == kTiles && (FKind == kRules || FKind == kVariationRules);
}

void TElementListModel::ForgetAll()
{
    for (QImage& image : FCache)
        image = QImage();
    if (!FCache.empty())
        emit dataChanged(index(0), index(rowCount() - 1));
}

// Draws a cell as the sheet lays it out: the thumbnail, its label under it, and the
// style's item panel (selection, hover) behind both.
class TThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    TSheetLayout Layout;

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {Layout.PitchX(), Layout.PitchY()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem panel = option;
        // A single column stretches the item to the list's width: the panel keeps the cell's.
        panel.rect = QRect(option.rect.topLeft(), sizeHint(option, index)).adjusted(1, 1, -1, -1);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, painter, widget);
        // The cell starts half a gap before its picture, so the gaps share out evenly.
        const QPoint cell = option.rect.topLeft() - QPoint(Layout.Gap / 2, Layout.Gap / 2);
        const TSheetRect picture = Layout.Picture(0);
        const TSheetRect label = Layout.Label(0);
        painter->drawImage(cell + QPoint(picture.X, picture.Y), index.data(Qt::DecorationRole).value<QImage>());
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect text(cell + QPoint(label.X, label.Y), QSize(label.Width, label.Height));
        painter->drawText(text, Qt::AlignCenter,
                          option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, text.width()));
    }
};

TElementBrowser::TElementBrowser(TTileSetDocument& document, QWidget* parent)
    : QDockWidget("Browser", parent), FModel(new TElementListModel(document, this)),
      FProxy(new QSortFilterProxyModel(this)), FDelegate(new TThumbnailDelegate(this))
{
    setObjectName("ElementBrowser");
    SetHelp(this, 120);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(3, 3, 3, 3);
    auto* row = new QHBoxLayout;
    cbKind = new QComboBox(body);
    cbKind->setObjectName("cbKind");
    for (const char* name : kKindNames)
        cbKind->addItem(name);
    edFilter = new QLineEdit(body);
    edFilter->setObjectName("edFilter");
    edFilter->setPlaceholderText("Filter by ID");
    edFilter->setClearButtonEnabled(true);
    row->addWidget(cbKind);
    row->addWidget(edFilter, 1);
    layout->addLayout(row);

    FProxy->setSourceModel(FModel);
    FProxy->setFilterRole(TElementListModel::IdRole);
    FProxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    lvElements = new QListView(body);
    lvElements->setObjectName("lvElements");
    lvElements->setModel(FProxy);
    lvElements->setItemDelegate(FDelegate);
    lvElements->setViewMode(QListView::ListMode);
    lvElements->setFlow(QListView::LeftToRight);
    lvElements->setWrapping(true);
    lvElements->setResizeMode(QListView::Adjust);
    lvElements->setUniformItemSizes(true);
    lvElements->setSelectionMode(QAbstractItemView::SingleSelection);
    lvElements->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    lvElements->installEventFilter(this);
    lvElements->viewport()->installEventFilter(this);
    layout->addWidget(lvElements, 1);
    setWidget(body);
    setToolTip("Ctrl+wheel, Ctrl++ and Ctrl+-: thumbnail size");

    connect(cbKind, &QComboBox::currentIndexChanged, this, [this](int kind) { SetKind(kind); });
    connect(edFilter, &QLineEdit::textChanged, FProxy, &QSortFilterProxyModel::setFilterFixedString);
    connect(FModel, &TElementListModel::PictureSizeChanged, this, &TElementBrowser::UpdateCellSize);
    connect(lvElements->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { CurrentChanged(current); });
    connect(lvElements, &QListView::clicked, this, [this](const QModelIndex& index) { CurrentChanged(index); });
    UpdateCellSize();
}

void TElementBrowser::SetKind(int kind)
{
    if (kind < 0 || kind >= KindCount)
        return;
    if (kind == Kind())
        return;
    cbKind->setCurrentIndex(kind);
    FModel->SetKind(kind);
    emit KindChanged(kind);
}

void TElementBrowser::SetZoom(int zoom)
{
    FModel->SetLook(std::clamp(zoom, 1, MaxZoom), FModel->Hex(), FModel->Colors());
}

void TElementBrowser::SetLook(bool hex, const TSheetColors& colors)
{
    FModel->SetLook(FModel->Zoom(), hex, colors);
}

void TElementBrowser::UpdateCellSize()
{
    const QSize picture = FModel->PictureSize();
    FDelegate->Layout = SheetLayout({picture.width(), picture.height()}, 1, 1, fontMetrics().height() + 2, kGap, 1);
    // Wide enough for a tile rule's cell at its own size; larger cells scroll sideways.
    const int frame = 2 * lvElements->frameWidth() + lvElements->verticalScrollBar()->sizeHint().width();
    const TSheetSize rule = kestrund::PictureSize(TTileFile(), TSheetKind::Rules);
    lvElements->setMinimumWidth(std::min(FDelegate->Layout.PitchX(), rule.Width + kGap) + frame);
    UpdateFlow();
    // Uniform sizes: the view takes the first cell's size for all of them.
    emit FDelegate->sizeHintChanged(FProxy->index(0, 0));
    lvElements->doItemsLayout();
}

void TElementBrowser::UpdateFlow()
{
    // Rows of cells while two fit side by side; else one column, which a list can scroll
    // sideways when a cell is wider than the list.
    const bool column = 2 * FDelegate->Layout.PitchX() > lvElements->viewport()->width();
    if (lvElements->isWrapping() == !column)
        return;
    lvElements->setFlow(column ? QListView::TopToBottom : QListView::LeftToRight);
    lvElements->setWrapping(!column);
}

void TElementBrowser::SetCurrent(std::size_t i)
{
    const QModelIndex index =
        i < static_cast<std::size_t>(FModel->rowCount()) ? FProxy->mapFromSource(FModel->index(static_cast<int>(i)))
                                                         : QModelIndex();
    if (index == lvElements->currentIndex() && (!index.isValid() || lvElements->selectionModel()->isSelected(index)))
        return;
    FFollowing = true;
    if (index.isValid()) {
        lvElements->setCurrentIndex(index);
        lvElements->scrollTo(index);
    } else {
        lvElements->selectionModel()->clear();
    }
    FFollowing = false;
}

std::optional<std::size_t> TElementBrowser::Current() const
{
    const QModelIndex index = lvElements->currentIndex();
    if (!index.isValid() || !lvElements->selectionModel()->isSelected(index))
        return std::nullopt;
    return static_cast<std::size_t>(FProxy->mapToSource(index).row());
}

void TElementBrowser::CurrentChanged(const QModelIndex& current)
{
    if (!FFollowing && current.isValid())
        emit ElementPicked(Kind(), static_cast<std::size_t>(FProxy->mapToSource(current).row()));
}

bool TElementBrowser::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lvElements->viewport() && event->type() == QEvent::Resize)
        UpdateFlow();
    if (watched == lvElements->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers().testFlag(Qt::ControlModifier)) {
            const int steps = wheel->angleDelta().y() / 120;
            if (steps != 0)
                SetZoom(Zoom() + steps);
            return true;
        }
    }
    if (watched == lvElements && event->type() == QEvent::KeyPress) {
        // Typing an ID in the list goes to the filter.
        auto* key = static_cast<QKeyEvent*>(event);
        // Ctrl++ and Ctrl+-: the wheel's steps from the keyboard.
        for (const auto& [keys, step] : {std::pair{QKeySequence::ZoomIn, 1}, {QKeySequence::ZoomOut, -1}})
            if (key->matches(keys)) {
                SetZoom(Zoom() + step);
                return true;
            }
        const QString text = key->text();
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && text.size() == 1 && text[0].isLetterOrNumber()) {
            edFilter->setFocus();
            edFilter->setText(edFilter->text() + text);
            return true;
        }
    }
    return QDockWidget::eventFilter(watched, event);
}

void TElementBrowser::ReadSettings(const std::string& iniPath)
{
    const TIniFile ini(iniPath);
    SetKind(static_cast<int>(std::clamp<long long>(ini.ReadInteger(kSection, "Kind", kTiles), 0, KindCount - 1)));
    SetZoom(static_cast<int>(std::clamp<long long>(ini.ReadInteger(kSection, "Zoom", 1), 1, MaxZoom)));
    if (!ini.ReadBool(kSection, "Visible", true))
        hide();
}

void TElementBrowser::WriteSettings(const std::string& iniPath) const
{
    TExtIniFile ini(iniPath);
    ini.WriteIntegerDef(kSection, "Kind", kTiles, Kind());
    ini.WriteIntegerDef(kSection, "Zoom", 1, Zoom());
    ini.WriteBoolDef(kSection, "Visible", true, !isHidden());
}

} // namespace kestrund
