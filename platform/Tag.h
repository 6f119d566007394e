#pragma once
// The Tag text the old controls carried, kept as a property of the widget:
// windows hand values to each other through it.

#include <QObject>
#include <QString>
#include <QVariant>

namespace corvane {

inline QString TagOf(const QObject* control) { return control ? control->property("Tag").toString() : QString(); }

inline void SetTag(QObject* control, const QString& tag)
{
    if (control) control->setProperty("Tag", tag);
}

}  // namespace corvane
