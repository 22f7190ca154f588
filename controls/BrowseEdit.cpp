#include "controls/BrowseEdit.h"

#include "controls/Accessibility.h"
#include "platform/Paths.h"
#include "platform/SystemColors.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QProxyStyle>

namespace
{

// The sunken border around text and button, and the button at the right end inside it.
constexpr int BorderWidth = 2;
constexpr int ButtonWidth = 18;
constexpr int CaretWidth = 2;

// The folder glyph, one character a pixel: '#' edge, 'Y' face, 'L' the lit upper edge of the face.
constexpr const char* FolderGlyph[] = {
    ".............", //
    ".............", //
    ".#####.......", //
    "#LLLLL#......", //
    "#YYYYYY######", //
    "#LLLLLLLLLLL#", //
    "#YYYYYYYYYYY#", //
    "#YYYYYYYYYYY#", //
    "#YYYYYYYYYYY#", //
    "#YYYYYYYYYYY#", //
    "#YYYYYYYYYYY#", //
    "#YYYYYYYYYYY#", //
    "#############", //
    ".............", //
};
constexpr QSize GlyphSize{13, 14};
constexpr QColor GlyphEdge{0x80, 0x60, 0x00};
constexpr QColor GlyphFace{0xF0, 0xC8, 0x40};
constexpr QColor GlyphLight{0xFF, 0xF0, 0xA0};

// Where the chooser starts when nothing is preselected, or the preselection is no folder.
const QString FileSystemTop = QStringLiteral("/");

QString chooseWithDialog(QWidget* owner, const QString& startFolder)
{
    const QString start = QFileInfo(startFolder).isDir() ? startFolder : FileSystemTop;
    return QFileDialog::getExistingDirectory(owner, QString(), start, QFileDialog::ShowDirsOnly);
}

// The folder the chooser preselects: the field's text when StartWithLast is set (none when the
// field is empty).
QString chooserStartFolder(bool startWithLast, const QString& fieldText)
{
    return startWithLast ? fieldText : QString();
}

// The folder the field takes from the chooser's answer: absolute, without a trailing separator
// (the root stays "/"); empty when the chooser was cancelled.
QString chosenFolder(const QString& answer)
{
    if (answer.isEmpty())
        return {};
    return Paths::ExcludeTrailingSeparator(QDir::cleanPath(QDir(answer).absolutePath()));
}

void paintFolderGlyph(QPainter& painter, QPoint topLeft)
{
    for (int y = 0; y < GlyphSize.height(); ++y)
        for (int x = 0; x < GlyphSize.width(); ++x) {
            const char pixel = FolderGlyph[y][x];
            if (pixel != '.')
                painter.fillRect(topLeft.x() + x, topLeft.y() + y, 1, 1,
                                 pixel == '#'   ? GlyphEdge
                                 : pixel == 'L' ? GlyphLight
                                                : GlyphFace);
        }
}

// A text caret two pixels wide.
class CaretStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return CaretWidth;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// The small button with the folder glyph: a click leaves the focus in the text, Tab reaches it,
// and a dotted line shows it has the focus.
class BrowseButton : public QAbstractButton
{
public:
    explicit BrowseButton(QWidget* parent) : QAbstractButton(parent) { setFocusPolicy(Qt::TabFocus); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), ColorOf(SystemColor::ButtonFace));
        const QPoint centred((width() - GlyphSize.width()) / 2, (height() - GlyphSize.height()) / 2);
        paintFolderGlyph(painter, centred + (isDown() ? QPoint(1, 1) : QPoint(0, 0)));
        if (hasFocus()) {
            painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter.drawRect(rect().adjusted(1, 1, -2, -2));
        }
    }
};

// One ring of a border: `topLeft` along the top and left edges, `bottomRight` along the others.
void drawRing(QPainter& painter, const QRect& rect, QColor topLeft, QColor bottomRight)
{
    painter.setPen(topLeft);
    painter.drawPolyline(QPolygon{rect.bottomLeft(), rect.topLeft(), rect.topRight()});
    painter.setPen(bottomRight);
    painter.drawPolyline(QPolygon{rect.bottomLeft(), rect.bottomRight(), rect.topRight()});
}

} // namespace

TBrowseEdit::TBrowseEdit(QWidget* parent)
    : QWidget(parent), Chooser(chooseWithDialog), m_edit(new QLineEdit(this)),
      m_button(new BrowseButton(this)), m_blinkRate(QApplication::cursorFlashTime() / 2)
{
    Accessibility::Install();
    m_edit->setFrame(false);
    m_button->setAccessibleName(QStringLiteral("フォルダを選ぶ"));
    auto* caretStyle = new CaretStyle;
    caretStyle->setParent(m_edit);
    m_edit->setStyle(caretStyle);
    m_edit->installEventFilter(this);
    connect(m_edit, &QLineEdit::textChanged, this, [this] { textChanged(); });
    connect(m_edit, &QLineEdit::editingFinished, this, [this] { editingFinished(); });
    connect(m_button, &QAbstractButton::clicked, this, [this] { browse(); });
}

void TBrowseEdit::SetCaption(const QString& caption)
{
    setAccessibleName(caption);
    m_edit->setAccessibleName(caption);
}

QString TBrowseEdit::Path() const
{
    return m_edit->text();
}

void TBrowseEdit::SetPath(const QString& path)
{
    if (path == m_path)
        return;
    m_path = path;
    m_editing = false;
    m_settingText = true;
    m_edit->setText(path);
    m_settingText = false;
    m_edit->setCursorPosition(0);
    m_edit->deselect();
    Fire(OnChange, this);
}

void TBrowseEdit::textChanged()
{
    if (m_settingText || m_edit->text() == m_path)
        return;
    m_path = m_edit->text();
    // Text set on the line edit by code counts as set as a whole, like SetPath.
    m_editing = m_edit->isModified();
    Fire(OnChange, this);
}

void TBrowseEdit::editingFinished()
{
    m_editing = false;
    Fire(OnEditingFinished, this);
}

void TBrowseEdit::browse()
{
    const QString chosen = chosenFolder(Chooser(window(), chooserStartFolder(m_startWithLast, Path())));
    if (!chosen.isEmpty())
        SetPath(chosen);
}

void TBrowseEdit::SetFontColor(QColor color)
{
    QPalette colours = m_edit->palette();
    colours.setColor(QPalette::Text, color);
    m_edit->setPalette(colours);
}

void TBrowseEdit::SetCursor(const QCursor& cursor)
{
    setCursor(cursor);
    m_edit->setCursor(cursor);
}

bool TBrowseEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::FocusIn) {
        m_systemFlashTime = QApplication::cursorFlashTime();
        // The flash time is a whole cycle: on, then off.
        QApplication::setCursorFlashTime(2 * m_blinkRate);
    } else if (watched == m_edit && event->type() == QEvent::FocusOut) {
        QApplication::setCursorFlashTime(m_systemFlashTime);
    }
    return QWidget::eventFilter(watched, event);
}

void TBrowseEdit::resizeEvent(QResizeEvent*)
{
    const QRect inside = rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);
    m_edit->setGeometry(inside.adjusted(0, 0, -ButtonWidth, 0));
    m_button->setGeometry(inside.right() + 1 - ButtonWidth, inside.top(), ButtonWidth, inside.height());
}

void TBrowseEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawRing(painter, rect().adjusted(0, 0, -1, -1), ColorOf(SystemColor::ButtonShadow),
             ColorOf(SystemColor::ButtonHighlight));
    drawRing(painter, rect().adjusted(1, 1, -2, -2), ColorOf(SystemColor::DarkShadow),
             ColorOf(SystemColor::ButtonFace));
}
