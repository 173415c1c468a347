#include "platform/qt/form_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/qt/form_window.h"

namespace platform {

namespace {

class LabelAccessible;

// The accessible label of `label` in its window, if it has one.
LabelAccessible* accessibleOf(FormWindow* window, const Label* label);

// A label the window paints: read-only text whose name and text are its
// caption. A screen reader reads a value with what names it: the caption
// that labels it ("Lives: 2"), or its description ("Score: 400").
class LabelAccessible : public QAccessibleInterface, public QAccessibleTextInterface {
  public:
    LabelAccessible(FormWindow* window, const Label* label)
        : window_(window), label_(label), shown_(caption()) {}

    // The label, while its window still shows its form.
    const Label* label() const {
        return window_ != nullptr && window_->form() != nullptr ? label_ : nullptr;
    }
    QString caption() const {
        return label() != nullptr ? QString::fromStdString(label()->Caption()) : QString();
    }

    // Tells assistive technology of a caption it has not seen yet.
    void announce() {
        const QString now = caption();
        if (now == shown_) {
            return;
        }
        QAccessibleEvent name(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&name);
        QAccessibleTextUpdateEvent text(this, 0, shown_, now);
        QAccessible::updateAccessibility(&text);
        shown_ = now;
    }

    bool isValid() const override { return label() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return window_ != nullptr ? window_->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return window_ != nullptr ? QAccessible::queryAccessibleInterface(window_.data()) : nullptr;
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    QAccessibleInterface* childAt(int /*x*/, int /*y*/) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Description && label() != nullptr) {
            return QString::fromStdString(label()->valueName());
        }
        return t == QAccessible::Name ? caption() : QString();
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override;
    void setText(QAccessible::Text /*t*/, const QString& /*text*/) override {}
    QRect rect() const override {
        if (label() == nullptr) {
            return {};
        }
        const QRect r = window_->shownRect(label()->box());
        return {window_->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.readOnly = true;
        s.invisible = label() == nullptr || !label()->Visible() || !window_->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                               : nullptr;
    }

    // Text that cannot be selected, edited or moved through.
    void selection(int /*index*/, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int /*start*/, int /*end*/) override {}
    void removeSelection(int /*index*/) override {}
    void setSelection(int /*index*/, int /*start*/, int /*end*/) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    QString text(int start, int end) const override { return caption().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(caption().size()); }
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*start*/, int /*end*/) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

  private:
    QPointer<FormWindow> window_;
    const Label* label_;
    QString shown_;  // the caption assistive technology knows
};

// A game window: its labels, in the order they are stacked, come before its
// buttons.
class FormAccessible : public QAccessibleWidget {
  public:
    explicit FormAccessible(FormWindow* window)
        : QAccessibleWidget(window, window->parentWidget() != nullptr ? QAccessible::Dialog
                                                                      : QAccessible::Window) {}

    int childCount() const override {
        return static_cast<int>(labels().size()) + QAccessibleWidget::childCount();
    }
    QAccessibleInterface* child(int index) const override {
        const int n = static_cast<int>(labels().size());
        return index < n ? labels()[static_cast<std::size_t>(index)]
                         : QAccessibleWidget::child(index - n);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const auto& all = labels();
        for (std::size_t i = 0; i < all.size(); ++i) {
            if (all[i] == child) {
                return static_cast<int>(i);
            }
        }
        const int button = QAccessibleWidget::indexOfChild(child);
        return button < 0 ? -1 : button + static_cast<int>(all.size());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        if (QAccessibleInterface* button = QAccessibleWidget::childAt(x, y)) {
            return button;
        }
        for (LabelAccessible* l : labels()) {
            if (l->rect().contains(x, y)) {
                return l;
            }
        }
        return nullptr;
    }

    void announce(const Label& label) {
        for (LabelAccessible* l : labels()) {
            if (l->label() == &label) {
                l->announce();
            }
        }
    }

    // In reading order, row by row ("Lives:" before its number). Made the
    // first time they are asked for, once the scene is placed; the
    // accessibility cache owns them.
    const std::vector<LabelAccessible*>& labels() const {
        auto* window = static_cast<FormWindow*>(widget());
        if (!labels_.empty() || dropped_ || window->form() == nullptr) {
            return labels_;
        }
        std::vector<const Label*> found;
        for (const Element* e : window->form()->layers()) {
            if (e->kind() == ElementKind::label) {
                found.push_back(static_cast<const Label*>(e));
            }
        }
        std::stable_sort(found.begin(), found.end(), [](const Label* a, const Label* b) {
            return std::pair(a->box().top, a->box().left) < std::pair(b->box().top, b->box().left);
        });
        for (const Label* label : found) {
            labels_.push_back(new LabelAccessible(window, label));
            QAccessible::registerAccessibleInterface(labels_.back());
        }
        return labels_;
    }

    void dropLabels() {
        for (LabelAccessible* l : labels_) {
            QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(l));
        }
        labels_.clear();
        dropped_ = true;
    }

  private:
    mutable std::vector<LabelAccessible*> labels_;
    bool dropped_ = false;
};

LabelAccessible* accessibleOf(FormWindow* window, const Label* label) {
    auto* form = dynamic_cast<FormAccessible*>(QAccessible::queryAccessibleInterface(window));
    if (form == nullptr || label == nullptr) {
        return nullptr;
    }
    for (LabelAccessible* l : form->labels()) {
        if (l->label() == label) {
            return l;
        }
    }
    return nullptr;
}

// Each value label is labelled by its caption, and each caption labels its
// value.
QList<QPair<QAccessibleInterface*, QAccessible::Relation>> LabelAccessible::relations(
    QAccessible::Relation match) const {
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> found;
    if (label() == nullptr) {
        return found;
    }
    if ((match & QAccessible::Label) != 0) {
        if (LabelAccessible* caption = accessibleOf(window_, label()->namedBy())) {
            found.append({caption, QAccessible::Label});
        }
    }
    if ((match & QAccessible::Labelled) != 0) {
        for (const Element* e : window_->form()->layers()) {
            const auto* value =
                e->kind() == ElementKind::label ? static_cast<const Label*>(e) : nullptr;
            if (value != nullptr && value->namedBy() == label()) {
                if (LabelAccessible* named = accessibleOf(window_, value)) {
                    found.append({named, QAccessible::Labelled});
                }
            }
        }
    }
    return found;
}

QAccessibleInterface* formAccessibleFactory(const QString& /*className*/, QObject* object) {
    auto* window = dynamic_cast<FormWindow*>(object);
    return window != nullptr ? new FormAccessible(window) : nullptr;
}

FormAccessible* formAccessibleOf(FormWindow& window) {
    // Nothing reads the windows while assistive technology is off.
    if (!QAccessible::isActive()) {
        return nullptr;
    }
    return dynamic_cast<FormAccessible*>(QAccessible::queryAccessibleInterface(&window));
}

}  // namespace

void installFormAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(formAccessibleFactory);
        return true;
    }();
    (void)installed;
}

void announceCaption(FormWindow& window, const Label& label) {
    if (FormAccessible* a = formAccessibleOf(window)) {
        a->announce(label);
    }
}

void forgetAccessibleLabels(FormWindow& window) {
    if (FormAccessible* a = formAccessibleOf(window)) {
        a->dropLabels();
    }
}

}  // namespace platform
