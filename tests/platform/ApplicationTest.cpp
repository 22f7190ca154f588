#include "platform/Application.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "tests/support/MessageRecorder.h"

#include <QFontInfo>
#include <QWidget>
#include <gtest/gtest.h>
#include <stdexcept>

TEST(ErrorBox, ShowsAnErrorsMessageAndStaysSilentOnAbort)
{
    MessageRecorder recorder;
    Application::ShowException(EConvertError(QStringLiteral("abc")));
    Application::ShowException(EAbort());
    Application::ShowException(std::runtime_error("plain"));
    EXPECT_EQ(recorder.Shown,
              QStringList({QStringLiteral("'abc' は整数ではありません"), QStringLiteral("plain")}));
}

// Closes a window titled "Korumi" once it shows, as a user answering it would.
class Answerer : public QObject
{
public:
    Answerer() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow() &&
            widget->windowTitle() == "Korumi")
            QMetaObject::invokeMethod(widget, &QWidget::close, Qt::QueuedConnection);
        return false;
    }
};

TEST(ErrorBox, ModalBoxReturnsWhenOkIsPressed)
{
    // The real box, answered as a user would.
    const Answerer answerer;
    Messages::Show(QStringLiteral("テスト"));
    SUCCEED();
}

TEST(Fonts, DesignFontsResolveToInstalledFamilies)
{
    // Text given no font at all is drawn in the Japanese typeface too.
    EXPECT_EQ(QFontInfo(QFont()).family(), "IPAPGothic");
    EXPECT_EQ(QFontInfo(Fonts::Pixel(Fonts::UiGothic, 12)).family(), "IPAPGothic");
    EXPECT_EQ(QFontInfo(Fonts::Pixel(Fonts::Tahoma, 12)).family(), "DejaVu Sans");
    EXPECT_EQ(QFontInfo(Fonts::Pixel(Fonts::Arial, 12)).family(), "DejaVu Sans");
}
