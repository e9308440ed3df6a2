#pragma once
// TEGLegendList: the list of a graph's series, one row each in series order, with an optional
// visibility check box, a colour swatch and the series' caption. Clicking a row's box hides or
// shows that series.

#include <QListWidget>
#include <QPointer>

#include <cstdint>
#include <functional>

class TZoreRuzez;
class QKeyEvent;
class QMouseEvent;

class TEGLegendList : public QListWidget {
    Q_OBJECT

public:
    using TNotify = std::function<void(TEGLegendList& sender)>;

    // A row's word: the series' colour in the low 26 bits, its visibility in bit 26.
    static constexpr std::uint32_t kColorMask = 0x3FFFFFF;
    static constexpr std::uint32_t kVisibleBit = 0x4000000;

    explicit TEGLegendList(QWidget* parent = nullptr);
    ~TEGLegendList() override;

    TZoreRuzez* ZoreRuzez() const { return FZoreRuzez.data(); }
    // Binds to `value` (nullptr unbinds and empties). A list bound to that graph before is
    // unbound and emptied at once: a graph has one legend list.
    void SetZoreRuzez(TZoreRuzez* value);
    bool CheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);

    // Rebuilds the rows from the graph; only -1 does anything.
    void UpdateList(int index);

    // The row the user picked, -1 for none. Qt's current row is not a pick: focus alone sets it.
    int ItemIndex() const;
    void SetItemIndex(int value);
    std::uint32_t RowWord(int row) const;
    // The check square of a row drawn in `row`: right and bottom exclusive.
    QRect CheckSquare(const QRect& row) const;

    TNotify OnChange;
    // Fires when the user picks a row, and after a rebuild that kept the number of rows.
    TNotify OnClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    friend class TZoreRuzez;

    QPointer<TZoreRuzez> FZoreRuzez;
    bool FCheckBoxes = true;
    int FItemHeight = 16;
};
