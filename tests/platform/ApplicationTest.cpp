#include "platform/Application.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/Messages.h"
#include "tests/support/MessageRecorder.h"

#include <QFontInfo>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace
{

// Throws from inside a real event handler.
class Thrower : public QObject
{
public:
    std::function<void()> action;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User)
            action();
        return QObject::event(e);
    }
};

void deliver(Thrower& thrower)
{
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&thrower, &event);
}

} // namespace

TEST(ErrorBox, ShowsEscapingErrorsAndStaysSilentOnAbort)
{
    MessageRecorder recorder;
    Thrower thrower;
    thrower.action = [] { throw EConvertError(QStringLiteral("abc")); };
    deliver(thrower);
    thrower.action = [] { throw EAbort(); };
    deliver(thrower);
    thrower.action = [] { throw std::runtime_error("plain"); };
    deliver(thrower);
    EXPECT_EQ(recorder.Shown,
              QStringList({QStringLiteral("'abc' は整数ではありません"), QStringLiteral("plain")}));
}

TEST(ErrorBox, ModalBoxReturnsWhenOkIsPressed)
{
    // The real box, answered as a user would.
    QTimer::singleShot(100, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible() && widget->windowTitle() == "Korumi")
                widget->close();
    });
    Messages::Show(QStringLiteral("テスト"));
    SUCCEED();
}

TEST(Fonts, DesignFontsResolveToInstalledFamilies)
{
    EXPECT_EQ(QFontInfo(Fonts::Pixel(Fonts::UiGothic, 12)).family(), "IPAPGothic");
    EXPECT_EQ(QFontInfo(Fonts::Pixel(Fonts::Tahoma, 12)).family(), "DejaVu Sans");
    EXPECT_EQ(QFontInfo(Fonts::Pixel(Fonts::Arial, 12)).family(), "DejaVu Sans");
}
