#include "shell/TableAccessible.h"
#include "shell/TableWidget.h"
#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <array>

namespace {
constexpr int Places = static_cast<int>(PlaceOrder.size());

// One place of the table. It has no object of its own: the table widget answers for it.
class PlaceAccessible : public QAccessibleInterface {
  public:
    PlaceAccessible(TableWidget* widget, int place) : table(widget), index(place) {}
    bool isValid() const override { return !table.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return table ? table->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return table ? QAccessible::queryAccessibleInterface(table.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return table && t == QAccessible::Name ? table->PlaceText(index) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!table) return {};
        const QRect r = table->PlaceRect(index);
        return {table->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.focusable = true;
        s.selectable = true;
        s.focused = s.selected = table && table->hasFocus() && table->FocusIndex() == index;
        return s;
    }

  private:
    QPointer<TableWidget> table;
    int index;
};

class TableAccessible : public QAccessibleWidget {
  public:
    explicit TableAccessible(TableWidget* table)
        : QAccessibleWidget(table, QAccessible::List, QStringLiteral("牌桌")) {}
    ~TableAccessible() override {
        for (QAccessible::Id id : ids)
            if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return Places; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Places) return nullptr;
        QAccessible::Id& id = ids[static_cast<size_t>(index)];
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new PlaceAccessible(Table(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < Places; ++i)
            if (ids[static_cast<size_t>(i)] != 0 &&
                QAccessible::accessibleInterface(ids[static_cast<size_t>(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < Places; ++i)
            if (child(i)->rect().contains(x, y)) return child(i);
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Table()->hasFocus() ? child(Table()->FocusIndex()) : nullptr;
    }

  private:
    TableWidget* Table() const { return static_cast<TableWidget*>(widget()); }
    mutable std::array<QAccessible::Id, Places> ids{};
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className != QLatin1String("TableWidget")) return nullptr;
    auto* table = qobject_cast<TableWidget*>(object);
    return table != nullptr ? new TableAccessible(table) : nullptr;
}
} // namespace

void InstallTableAccessible() {
    static const bool installed = [] {
        QAccessible::installFactory(Factory);
        return true;
    }();
    (void)installed;
}
