#include "controls/DigitBar.h"
#include "controls/FadeButton.h"
#include "controls/GradientProgressBar.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <gtest/gtest.h>

namespace
{

struct Reading {
    QAccessible::Role role;
    QString name;
    QString value;
};

Reading read(QWidget& control)
{
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&control);
    return {face->role(), face->text(QAccessible::Name), face->text(QAccessible::Value)};
}

TEST(Accessibility, SkinnedControlsTellTheirRoleNameAndValue)
{
    TDigitBar bar;
    bar.SetMax(30);
    bar.SetPosition(24);
    bar.setAccessibleName(QStringLiteral("動画ﾌﾚｰﾑﾚｰﾄ(fps)"));
    FadeButton button(nullptr, QStringLiteral("[ 変換開始 ]"));
    GradientProgressBar progress;
    progress.SetMax(8);
    progress.SetPosition(2);

    const Reading readBar = read(bar);
    EXPECT_EQ(readBar.role, QAccessible::SpinBox);
    EXPECT_EQ(readBar.name, "動画ﾌﾚｰﾑﾚｰﾄ(fps)");
    EXPECT_EQ(readBar.value, "24");
    const Reading readButton = read(button);
    EXPECT_EQ(readButton.role, QAccessible::Button);
    EXPECT_EQ(readButton.name, "[ 変換開始 ]");
    const Reading readProgress = read(progress);
    EXPECT_EQ(readProgress.role, QAccessible::ProgressBar);
    EXPECT_EQ(readProgress.value, "25 %") << "as the bar shows it";

    // Assistive technology sets the digit bar and presses the button as a user would.
    QAccessible::queryAccessibleInterface(&bar)->valueInterface()->setCurrentValue(12);
    EXPECT_EQ(bar.Position(), 12);
    int clicks = 0;
    button.OnClick = [&](QObject*) { ++clicks; };
    QAccessible::queryAccessibleInterface(&button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    button.SetEnabled(false);
    QAccessible::queryAccessibleInterface(&button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks, 1) << "a disabled button cannot be pressed";
}

} // namespace
