#pragma once
// dgTiles: one row of small element pictures, scrolled sideways. Only the cells in view are
// drawn, so a set of tens of thousands of elements costs no more than a small one.

#include <QAbstractScrollArea>
#include <QImage>

#include <functional>

namespace kestrund {

class TElementStrip : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int CellWidth = 47, CellHeight = 36;

    // The picture of cell i, highlighted or not; a null image draws nothing.
    using TCellPicture = std::function<QImage(int index, bool highlighted)>;

    explicit TElementStrip(QWidget* parent = nullptr);

    void SetCellPicture(TCellPicture picture);
    int Count() const { return FCount; }
    void SetCount(int count);
    // The selected column (-1 for none), scrolled into view.
    int Selected() const { return FSelected; }
    void SetSelected(int column);
    // Whether the selected cell is drawn highlighted.
    void SetShowSelection(bool show);
    // The column at a point of the viewport, -1 beyond the last cell.
    int ColumnAt(const QPoint& point) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The user chose a cell with the mouse or the arrow keys.
    void CellChosen(int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateScrollBar();
    void Choose(int column);

    TCellPicture FPicture;
    int FCount = 0;
    int FSelected = -1;
    bool FShowSelection = true;
};

} // namespace kestrund
