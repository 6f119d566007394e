#pragma once
// Helpers that windows all over the program share: centring a window on the
// main window, fitting grid columns to their texts, and filtering the keys
// typed into numeric boxes.

#include <QLineEdit>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include "platform/FlexGrid.h"
#include "platform/Forms.h"

namespace corvane {

// Places the window at ((client width - width) / 2, (client height - height) / 2)
// of the main window's client area, in twips. For a dialog the same numbers
// are screen coordinates; a window larger than the area gets a negative place.
void CenterForm(Form& form);
// The arithmetic of CenterForm, unrounded.
QPointF centredPosition(const QSizeF& clientTwips, const QSizeF& formTwips);

// Every column whose FixedAlignment is not flexAlignGeneral gets the width of
// its widest text (fixed rows included, measured in the window's font) plus
// 120 twips; a column without any row keeps its width.
void FitGridColWidth(FlexGrid& grid, const QWidget& window);

// The key code to keep: digits, Backspace, ".", Enter and "-" pass, a second
// "." and every other key are refused with a message and give 0.
int CheckNumberKey(const int& KeyAscii, const QString& currentText);
int CheckNumberKey(const int& KeyAscii, const QLineEdit& textBox);

}  // namespace corvane
