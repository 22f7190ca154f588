#pragma once

#include "settings/ConversionSettings.h"

#include <QColor>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class FadeButton;
class QObject;
class QSlider;
class TTrackBar;
class QWidget;
class TAppHint;
class TDigitBar;
class TMultiColComboBox;
class TShadowLabel;

// The main window's controls as its design sets them up, one maker for each kind.

// The drop panel's caption while no search is going on.
inline const QString DropCaption = QStringLiteral("[ ここにファイルをドロップ(複数可) ]");

// Gives `widget` its hint, and screen readers the same words as its description, without the
// blank a hint box starts with.
void GiveHint(QWidget& widget, const QString& hint);

FadeButton* makeButton(QWidget* parent, const QString& caption, const QRect& geometry, const QString& hint);

// The three digit bars share everything but their range, place and focus colour.
struct DigitBarSetup {
    int left;
    ValueRange range;
    int position;
    QColor focusColor;
    QString hint;
};

TDigitBar* makeDigitBar(QWidget* parent, const DigitBarSetup& setup);

TTrackBar* makeTrackBar(QWidget* parent, Qt::Orientation orientation, const QRect& geometry, int max,
                        int position, const QString& hint);

// Where the handle of `bar` stands at each of its values, lowest value first, as the bar's style
// places it, in the coordinates of the bar's parent.
QList<QRect> handleRects(const QSlider& bar);

TMultiColComboBox* makeCombo(QWidget* parent, const QRect& geometry, const QString& hint);

// A field caption: bold dark grey text over its light shadow copy, on the panel's own colour.
TShadowLabel* makeCaption(QWidget* parent, const QString& caption, QPoint topLeft,
                          Qt::Alignment alignment = Qt::AlignLeft);

// The two-line caption (what, then its unit) centred under the control whose centre is at
// `centreX`, which that control takes as the name assistive technology reads.
void captionUnder(QWidget& control, int centreX, const QString& what, const QString& unit);

// Every hint of the program: a rounded box with white bold text over a grey shadow.
TAppHint* makeAppHint(QObject* owner);
