#include "controls/BrowseEdit.h"
#include "platform/Paths.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// A field in a window, counting its events; its chooser answers what the test says.
class BrowseEdit : public ::testing::Test
{
protected:
    BrowseEdit()
    {
        field.OnChange = [this](QObject*) { ++changes; };
        field.OnEditingFinished = [this](QObject*) { ++finishes; };
        field.Chooser = [this](QWidget* owner, const QString& start) {
            askedOwner = owner;
            askedStart = start;
            return answer;
        };
        field.setGeometry(0, 0, 326, 19);
        other.move(0, 30);
    }

    void clickBrowse() { QTest::mouseClick(field.findChild<QAbstractButton*>(), Qt::LeftButton); }

    QWidget window;
    TBrowseEdit field{&window};
    QLineEdit other{&window};
    int changes = 0;
    int finishes = 0;
    QString answer;
    QWidget* askedOwner = nullptr;
    QString askedStart;
};

TEST_F(BrowseEdit, SetPathRaisesOnChangeForADifferentTextOnlyAndNestsInItsHandler)
{
    QStringList seen;
    field.OnChange = [&](QObject*) {
        seen << field.Path();
        field.SetPath(Paths::ExcludeTrailingSeparator(field.Path()));
    };
    field.SetPath(QStringLiteral("/out/"));
    EXPECT_EQ(field.Path(), "/out");
    EXPECT_EQ(seen, QStringList({"/out/", "/out"})) << "once more, nested, then no more";
    EXPECT_EQ(field.Edit()->cursorPosition(), 0);
    EXPECT_FALSE(field.IsEditing());
    field.SetPath(QStringLiteral("/out"));
    EXPECT_EQ(seen.size(), 2);
}

TEST_F(BrowseEdit, TypingIsEditingUntilEnterOrTheFocusLeaves)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field.Edit()->setFocus();
    QTest::keyClicks(field.Edit(), QStringLiteral("/a/"));
    EXPECT_EQ(field.Path(), "/a/");
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(field.IsEditing());
    EXPECT_EQ(finishes, 0);

    QTest::keyClick(field.Edit(), Qt::Key_Return);
    EXPECT_FALSE(field.IsEditing());
    EXPECT_EQ(finishes, 1);

    QTest::keyClicks(field.Edit(), QStringLiteral("b"));
    EXPECT_TRUE(field.IsEditing());
    other.setFocus();
    EXPECT_FALSE(field.IsEditing());
    EXPECT_EQ(finishes, 2);
    EXPECT_EQ(field.Path(), "/a/b") << "the field keeps what was typed";
}

TEST_F(BrowseEdit, CaretBlinksAtItsOwnRateOnlyWhileFocused)
{
    const int system = QApplication::cursorFlashTime();
    field.SetBlinkRate(system / 2 + 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field.Edit()->setFocus();
    EXPECT_EQ(QApplication::cursorFlashTime(), system + 200) << "a whole on-and-off cycle";
    other.setFocus();
    EXPECT_EQ(QApplication::cursorFlashTime(), system);
}

struct ChooserCase {
    const char* name;
    bool startWithLast;
    QString text;
    QString answer;
    QString expectedStart;
    QString expectedPath;
    int expectedChanges;
};

class Chooser : public BrowseEdit, public ::testing::WithParamInterface<ChooserCase>
{
};

TEST_P(Chooser, OpensAtTheFieldsFolderAndTakesAnAbsolutePathWithoutTrailingSeparator)
{
    const ChooserCase& c = GetParam();
    field.SetStartWithLast(c.startWithLast);
    field.SetPath(c.text);
    changes = 0;
    answer = c.answer;
    clickBrowse();
    EXPECT_EQ(askedOwner, &window);
    EXPECT_EQ(askedStart, c.expectedStart);
    EXPECT_EQ(field.Path(), c.expectedPath);
    EXPECT_EQ(changes, c.expectedChanges);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Chooser,
    ::testing::Values(ChooserCase{"Cancelled", true, "/videos", "", "/videos", "/videos", 0},
                      ChooserCase{"TrailingSeparatorDropped", true, "/videos", "/out/", "/videos", "/out", 1},
                      ChooserCase{"RootKept", true, "/videos", "/", "/videos", "/", 1},
                      ChooserCase{"SameFolderNoEvent", true, "/videos", "/videos/", "/videos", "/videos", 0},
                      ChooserCase{"Cleaned", true, "/videos", "/a//b/../c", "/videos", "/a/c", 1},
                      ChooserCase{"RelativeMadeAbsolute", true, "/videos", "rel", "/videos",
                                  QDir::current().absoluteFilePath("rel"), 1},
                      ChooserCase{"EmptyFieldNoPreselection", true, "", "/out", "", "/out", 1},
                      ChooserCase{"NotStartingWithLast", false, "/videos", "/out", "", "/out", 1}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
