#pragma once
// The element browser: every element of one kind as a grid of thumbnails beside the tile
// view. Thumbnails are drawn by the view layer when first shown and kept until their
// element (or what they show of others) changes.

#include "ElementSheet.h"
#include "TileSetDocument.h"

#include <QAbstractListModel>
#include <QDockWidget>
#include <QImage>

#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QListView;
class QSortFilterProxyModel;

namespace kestrund {

// The elements of one kind of the document's set, a row each: the label as display text,
// the thumbnail as decoration, the ID text for the filter.
class TElementListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum { IdRole = Qt::UserRole + 1 };
    explicit TElementListModel(TTileSetDocument& document, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int Kind() const { return FKind; }
    void SetKind(int kind);
    // Redraws every thumbnail when the look changes.
    void SetLook(int zoom, bool hex, const TSheetColors& colors);
    int Zoom() const { return FZoom; }
    bool Hex() const { return FHex; }
    const TSheetColors& Colors() const { return FColors; }
    // The zoomed size of every thumbnail of the kind.
    QSize PictureSize() const { return {FPicture.Width * FZoom, FPicture.Height * FZoom}; }
    const QImage& Thumbnail(int row) const;
    // Thumbnails drawn since the model was made.
    std::size_t DrawnCount() const { return FDrawn; }

signals:
    void PictureSizeChanged();

private:
    void Reset();
    void ElementsMoved(int kind);
    void ElementChanged(int kind, std::size_t i);
    // Whether the kind's pictures show elements of kind (tile rules and variation rules
    // draw tiles).
    bool Shows(int kind) const;
    void ForgetAll();

    TTileSetDocument& FDocument;
    int FKind = kTiles;
    int FZoom = 1;
    bool FHex = false;
    TSheetColors FColors;
    TSheetSize FPicture;
    mutable std::vector<QImage> FCache;
    mutable std::size_t FDrawn = 0;
};

class TThumbnailDelegate;

class TElementBrowser : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int MaxZoom = 4;
    explicit TElementBrowser(TTileSetDocument& document, QWidget* parent = nullptr);

    TElementListModel& Model() { return *FModel; }
    int Kind() const { return FModel->Kind(); }
    void SetKind(int kind);
    int Zoom() const { return FModel->Zoom(); }
    void SetZoom(int zoom);
    void SetLook(bool hex, const TSheetColors& colors);
    // Selects element i of the browser's kind and scrolls it into sight; nothing is
    // selected when it is filtered out or beyond the list.
    void SetCurrent(std::size_t i);
    std::optional<std::size_t> Current() const;

    void ReadSettings(const std::string& iniPath);
    void WriteSettings(const std::string& iniPath) const;

signals:
    // The user picked element i of kind (click, or the arrow keys).
    void ElementPicked(int kind, std::size_t i);
    // The kind shown changed (the kind list, or SetKind).
    void KindChanged(int kind);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateCellSize();
    void UpdateFlow();
    void CurrentChanged(const QModelIndex& current);

    TElementListModel* FModel;
    QSortFilterProxyModel* FProxy;
    TThumbnailDelegate* FDelegate;
    QComboBox* cbKind;
    QLineEdit* edFilter;
    QListView* lvElements;
    bool FFollowing = false; // the selection is being set from outside
};

} // namespace kestrund
