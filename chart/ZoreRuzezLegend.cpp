#include "ZoreRuzezLegend.h"

#include "ChartColors.h"
#include "ZoreRuzez.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int kWordRole = Qt::UserRole;
constexpr int kSwatchWidth = 20;
constexpr int kGap = 5;

// Draws a row: check square with a cross when visible, colour swatch, caption.
class TLegendDelegate : public QStyledItemDelegate {
public:
    explicit TLegendDelegate(TEGLegendList& list) : QStyledItemDelegate(&list), FList(list) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return QSize(option.rect.width(), FList.ItemHeight());
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QRect& r = option.rect;
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& pal = option.palette;
        p->save();
        p->fillRect(r, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        const std::uint32_t word = index.data(kWordRole).toUInt();
        int left = r.left() + 1;
        const int top = r.top() + 1, bottom = r.top() + r.height() - 1;
        p->setPen(Qt::black);
        if (FList.CheckBoxes()) {
            const QRect box = FList.CheckSquare(r);
            p->fillRect(box, Qt::white);
            p->drawRect(box.adjusted(0, 0, -1, -1));
            if (word & TEGLegendList::kVisibleBit) {
                p->drawLine(box.left(), box.top(), box.right() - 1, box.bottom() - 1);
                p->drawLine(box.right() - 1, box.top(), box.left(), box.bottom() - 1);
            }
            left = box.left() + box.width() + kGap;
        }
        const QRect swatch(left, top, kSwatchWidth, bottom - top);
        p->fillRect(swatch, QColor(ColorToRGB(word & TEGLegendList::kColorMask)));
        p->drawRect(swatch.adjusted(0, 0, -1, -1));
        left += kSwatchWidth + kGap;
        const QRect textRect(QPoint(left, r.top() + 1), QPoint(r.right(), r.bottom() - 1));
        const QString text = index.data(Qt::DisplayRole).toString();
        const bool empty = text.isEmpty();
        // A point series without a caption still gets a visible row.
        p->setPen(empty ? QColor(0xC0, 0xC0, 0xC0)
                        : pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
        p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    empty ? QStringLiteral("----") : text);
        p->restore();
    }

private:
    TEGLegendList& FList;
};

} // namespace

TEGLegendList::TEGLegendList(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new TLegendDelegate(*this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

TEGLegendList::~TEGLegendList() {
    if (FZoreRuzez && FZoreRuzez->XLegend == this) FZoreRuzez->XLegend = nullptr;
}

void TEGLegendList::SetZoreRuzez(TZoreRuzez* value) {
    if (value == FZoreRuzez) return;
    if (FZoreRuzez && FZoreRuzez->XLegend == this) FZoreRuzez->XLegend = nullptr;
    FZoreRuzez = value;
    if (value) {
        TEGLegendList* before = value->XLegend.data();
        value->XLegend = this;
        // Emptied at once rather than showing the graph's rows until its next rebuild.
        if (before && before != this) {
            before->FZoreRuzez = nullptr;
            before->UpdateList(-1);
        }
    }
    UpdateList(-1);
}

void TEGLegendList::SetCheckBoxes(bool value) {
    if (value == FCheckBoxes) return;
    FCheckBoxes = value;
    viewport()->update();
}

void TEGLegendList::SetItemHeight(int value) {
    if (value == FItemHeight || value <= 0) return;
    FItemHeight = value;
    doItemsLayout();
    viewport()->update();
}

void TEGLegendList::UpdateList(int index) {
    if (index != -1) return;
    const int oldCount = count();
    const int oldIndex = ItemIndex();
    setUpdatesEnabled(false);
    clear();
    if (FZoreRuzez && FZoreRuzez->XLegend != this) FZoreRuzez = nullptr;
    if (FZoreRuzez) {
        TSeries& series = FZoreRuzez->Series();
        for (int i = 0; i < series.Count(); ++i) {
            const TPoints& s = series.Series(i);
            std::string text = s.Caption();
            if (text.empty() && !s.Func().empty()) text = "(" + s.Func() + ")";
            auto* item = new QListWidgetItem(QString::fromStdString(text), this);
            const std::uint32_t word = (s.Color() & kColorMask) | (s.Visible() ? kVisibleBit : 0);
            item->setData(kWordRole, word);
        }
    }
    setUpdatesEnabled(true);
    if (OnChange) OnChange(*this);
    if (count() == oldCount) {
        SetItemIndex(oldIndex);
        if (OnClick) OnClick(*this);
    }
}

int TEGLegendList::ItemIndex() const {
    const QModelIndexList picked = selectionModel()->selectedIndexes();
    return picked.isEmpty() ? -1 : picked.first().row();
}

void TEGLegendList::SetItemIndex(int value) {
    if (value >= 0 && value < count()) {
        setCurrentRow(value);
    } else {
        clearSelection();
        setCurrentRow(-1);
    }
}

std::uint32_t TEGLegendList::RowWord(int row) const {
    const QListWidgetItem* it = item(row);
    return it ? it->data(kWordRole).toUInt() : 0;
}

QRect TEGLegendList::CheckSquare(const QRect& row) const {
    const int left = row.left() + 1, top = row.top() + 1, bottom = row.top() + row.height() - 1;
    const int right = left + (bottom - top + 1);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TEGLegendList::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (event->button() == Qt::LeftButton && FCheckBoxes && index.isValid() &&
        CheckSquare(visualRect(index)).contains(pos)) {
        const int row = index.row();
        const std::uint32_t word = RowWord(row) ^ kVisibleBit;
        item(row)->setData(kWordRole, word);
        // The series change rebuilds this list from the graph.
        if (FZoreRuzez && row < FZoreRuzez->Series().Count())
            FZoreRuzez->Series().Series(row).SetVisible((word & kVisibleBit) != 0);
        if (OnChange) OnChange(*this);
        viewport()->update();
    }
    // The press also selects the row, as any press does.
    QListWidget::mousePressEvent(event);
    if (indexAt(pos).isValid() && OnClick) OnClick(*this);
}

void TEGLegendList::keyPressEvent(QKeyEvent* event) {
    const int before = ItemIndex();
    QListWidget::keyPressEvent(event);
    if (ItemIndex() != before && OnClick) OnClick(*this);
}
