#pragma once

#include <QFrame>
#include <QString>
#include <QStringList>

namespace orvane::app {

// A small periodic table that pops up under the element ranges: a click on a symbol
// switches that element's range on or off. Elements the element table lacks are shown but
// cannot be picked.
class ElementPicker : public QFrame {
    Q_OBJECT

public:
    /// `available`: the element table's symbols; `chosen`: those the ranges name now.
    ElementPicker(const QStringList& available, const QStringList& chosen,
                  QWidget* parent = nullptr);

signals:
    void picked(const QString& symbol);
};

} // namespace orvane::app
