#include "controls/MCCBox.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"
#include "tests/controls/SampleRecords.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

namespace
{

// ---- the comma rule ----

struct SplitCase {
    const char* name;
    QString record;
    QStringList fields;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.name;
}

class CommaRule : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(CommaRule, SplitsRecordIntoFields)
{
    EXPECT_EQ(CommaTextFields(GetParam().record), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Records, CommaRule,
    ::testing::Values(SplitCase{"plain", "a,b,c", {"a", "b", "c"}},
                      SplitCase{"blankInsideUnquotedStartsANewField", "SD 4:3,mp4", {"SD", "4:3", "mp4"}},
                      SplitCase{"quotedFieldKeepsBlanks", "\"SD 4:3\",mp4", {"SD 4:3", "mp4"}},
                      SplitCase{"quotedFieldKeepsCommas", "\"a,b\",c", {"a,b", "c"}},
                      SplitCase{"doubledQuotesStandForOne", "\"\"\"hi\"\"\"", {"\"hi\""}},
                      SplitCase{"twoCommasGiveAnEmptyField", "a,,b", {"a", "", "b"}},
                      SplitCase{"trailingCommaGivesAnEmptyField", "a,", {"a", ""}},
                      SplitCase{"commaBeforeTrailingBlanksIsNotLast", "a, ", {"a"}},
                      SplitCase{"leadingCommaGivesEmptyFieldZero", ",x", {"", "x"}},
                      SplitCase{"blanksAroundFieldsDropped", " a , b ", {"a", "b"}},
                      SplitCase{"tabsAndControlCodesAreBlanks", "\tx\x01,\x1fy", {"x", "y"}},
                      SplitCase{"emptyRecordHasNoFields", "", {}},
                      SplitCase{"allBlankRecordHasNoFields", " \t ", {}},
                      SplitCase{"textAfterClosingQuoteIsAFieldOfItsOwn", "\"hi\"x,y", {"hi", "x", "y"}},
                      SplitCase{"spaceSplitsTheCodecName", "MPEG4 AVC", {"MPEG4", "AVC"}},
                      SplitCase{"missingClosingQuoteHoldsTheRest", "a,\"open, rest", {"a", "open, rest"}},
                      SplitCase{"nulEndsTheRecord", QStringLiteral("a,b") + QChar(0) + "c,d", {"a", "b"}},
                      SplitCase{"wideSpaceIsNoBlank",
                                QStringLiteral("おまかせ\u3000設定,ｶﾞ"),
                                {"おまかせ\u3000設定", "ｶﾞ"}},
                      SplitCase{"surrogatePairsStayWhole", QStringLiteral("𠮷野家,a"), {"𠮷野家", "a"}},
                      SplitCase{"headerRowHasNineFields",
                                HeaderRow,
                                {"", "[拡張子]", "[ｻｲｽﾞ]", "[ｺｰﾃﾞｯｸ]", "[ﾌﾚｰﾑﾚｰﾄ]", "[ﾋﾞｯﾄﾚｰﾄ]", "[ｺｰﾃﾞｯｸ]",
                                 "[ｻﾝﾌﾟﾙﾚｰﾄ]", "[ﾋﾞｯﾄﾚｰﾄ]"}}),
    [](const ::testing::TestParamInfo<SplitCase>& info) { return std::string(info.param.name); });

// ---- items and selected text ----

class MultiColComboBox : public ::testing::Test
{
protected:
    TMultiColComboBox combo;
};

TEST_F(MultiColComboBox, StartsWithOneDefaultColumnAndTheDocumentedDefaults)
{
    EXPECT_EQ(combo.Columns().Count(), 1);
    EXPECT_EQ(combo.Columns()[0].Width(), 60);
    EXPECT_EQ(combo.Columns()[0].Color(), ColorOf(SystemColor::Window));
    EXPECT_EQ(combo.Columns()[0].Alignment(), taLeftJustify);
    EXPECT_TRUE(combo.Columns()[0].ParentColor());
    EXPECT_TRUE(combo.Columns()[0].ParentFont());
    EXPECT_EQ(combo.Columns()[0].Font(), combo.Font());
    EXPECT_EQ(combo.TargetColumn(), 0);
    EXPECT_EQ(combo.Indent(), 2);
    EXPECT_EQ(combo.ItemHeight(), 15);
    EXPECT_EQ(combo.Color(), ColorOf(SystemColor::Window));
    EXPECT_FALSE(combo.CanEdit());
    EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(MultiColComboBox, AddKeepsTheWholeRecordAndShowsFieldTargetColumn)
{
    EXPECT_EQ(combo.Items().Add("a,b,c"), 0);
    combo.SetTargetColumn(1);
    EXPECT_EQ(combo.Items().Add("a"), 1);
    EXPECT_EQ(combo.Items().Add("\"x, y\",z"), 2);

    EXPECT_EQ(combo.Items().Count(), 3);
    EXPECT_EQ(combo.Items()[0], "a,b,c");
    EXPECT_EQ(combo.itemText(0), "a");
    EXPECT_EQ(combo.Items()[1], "a");
    EXPECT_EQ(combo.itemText(1), "") << "the record has no field 1";
    EXPECT_EQ(combo.itemText(2), "z");
    EXPECT_EQ(combo.ItemIndex(), -1) << "adding selects nothing";

    combo.SetTargetColumn(0);
    EXPECT_EQ(combo.itemText(2), "z") << "display texts stay as they were taken";
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.SelectedText(), "a");
}

TEST_F(MultiColComboBox, InsertDeleteAndClearKeepRecordsBesideDisplayTexts)
{
    combo.Items().Add("b,2");
    combo.Items().Insert(0, "a,1");
    combo.Items().Insert(2, "c,3");
    ASSERT_EQ(combo.Items().Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(combo.Items()[i].left(1), combo.itemText(i)) << i;

    combo.Items().Delete(1);
    EXPECT_EQ(combo.Items()[1], "c,3");
    EXPECT_EQ(combo.itemText(1), "c");
    EXPECT_EQ(combo.Items()[2], "") << "no such item";

    combo.Items().Clear();
    EXPECT_EQ(combo.Items().Count(), 0);
    EXPECT_EQ(combo.count(), 0);
}

TEST_F(MultiColComboBox, PositionsOutsideTheListRaiseTheIndexErrorAndChangeNothing)
{
    combo.Items().Add("a");
    const auto expectIndexError = [](const std::function<void()>& change, int index) {
        try {
            change();
            ADD_FAILURE() << "no error for " << index;
        } catch (const EListError& error) {
            EXPECT_EQ(error.Message(),
                      QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index));
        }
    };
    expectIndexError([&] { combo.Items().Insert(2, "x"); }, 2);
    expectIndexError([&] { combo.Items().Insert(-1, "x"); }, -1);
    expectIndexError([&] { combo.Items().Delete(1); }, 1);
    expectIndexError([&] { combo.Items().Delete(-1); }, -1);
    EXPECT_EQ(combo.Items().Count(), 1);
    EXPECT_EQ(combo.Items()[0], "a");
}

TEST_F(MultiColComboBox, RecordsAreNeverCut)
{
    const QString longRecord = QString(5000, u'x') + ",end";
    combo.Items().Add(longRecord);
    EXPECT_EQ(combo.Items()[0], longRecord);
    combo.SetItemIndex(0);
    combo.SetTargetColumn(1);
    EXPECT_EQ(combo.SelectedText(), "end");
}

TEST_F(MultiColComboBox, SelectedTextIsFieldTargetColumnOfTheSelectedItemOrEmpty)
{
    combo.Items().Add(HeaderRow);
    combo.Items().Add("n,0,1,2,3,4,5,6,7,8,9");
    EXPECT_EQ(combo.SelectedText(), "") << "nothing selected";

    combo.SetItemIndex(0);
    EXPECT_EQ(combo.SelectedText(), "");
    combo.SetTargetColumn(3);
    EXPECT_EQ(combo.SelectedText(), "[ｺｰﾃﾞｯｸ]");
    combo.SetTargetColumn(9);
    EXPECT_EQ(combo.SelectedText(), "") << "the header row has nine fields";

    combo.SetItemIndex(1);
    combo.SetTargetColumn(10);
    EXPECT_EQ(combo.SelectedText(), "9") << "fields beyond the columns stay readable";
    EXPECT_EQ(combo.GetColumnText(0, 2), "[ｻｲｽﾞ]");
    EXPECT_EQ(combo.GetColumnText(2, 0), "");
    EXPECT_EQ(combo.GetColumnText(-1, 0), "");

    combo.SetItemIndex(-1);
    for (int column : {0, 3, 255}) {
        combo.SetTargetColumn(column);
        EXPECT_EQ(combo.SelectedText(), "") << column;
    }
}

TEST_F(MultiColComboBox, RebuildingTakesDisplayTextsAfreshAndKeepsTheSelection)
{
    combo.Items().Add("a,b");
    combo.Items().Add("c,d");
    combo.SetItemIndex(1);
    combo.SetTargetColumn(1);
    combo.SetItemHeight(13);
    EXPECT_EQ(combo.itemText(0), "b");
    EXPECT_EQ(combo.Items()[0], "a,b");
    EXPECT_EQ(combo.ItemIndex(), 1);
    combo.SetTargetColumn(0);
    combo.SetCanEdit(true);
    EXPECT_EQ(combo.itemText(1), "c");
    EXPECT_EQ(combo.ItemIndex(), 1);
}

TEST_F(MultiColComboBox, SettingAnIndexOutsideTheListClearsTheSelection)
{
    combo.Items().Add("a");
    combo.Items().Add("b");
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.ItemIndex(), 1);
    combo.SetItemIndex(2);
    EXPECT_EQ(combo.ItemIndex(), -1);
    combo.SetItemIndex(0);
    combo.SetItemIndex(-5);
    EXPECT_EQ(combo.ItemIndex(), -1);
}

TEST_F(MultiColComboBox, EditableStyleReturnsWhatTheUserTyped)
{
    combo.Items().Add("a,b");
    combo.SetCanEdit(true);
    combo.SetItemIndex(0);
    combo.SetTargetColumn(1);
    EXPECT_EQ(combo.SelectedText(), "b") << "nothing typed yet";
    combo.lineEdit()->clear();
    QTest::keyClicks(combo.lineEdit(), "typed");
    EXPECT_EQ(combo.SelectedText(), "typed");
}

TEST_F(MultiColComboBox, ClickAndChangeFollowOnlyTheUsersChoice)
{
    QStringList raised;
    combo.OnClick = [&](QObject* sender) { raised << (sender == &combo ? "click" : "click from elsewhere"); };
    combo.OnChange = [&](QObject* sender) {
        raised << (sender == &combo ? "change" : "change from elsewhere");
    };
    combo.Items().Add("a");
    combo.Items().Add("b");
    combo.SetItemIndex(0);
    combo.SetItemIndex(1);
    EXPECT_TRUE(raised.isEmpty()) << "setting ItemIndex raises nothing";

    QTest::keyClick(&combo, Qt::Key_Up);
    EXPECT_EQ(combo.ItemIndex(), 0);
    EXPECT_EQ(raised, QStringList({"click", "change"}));
}

// ---- columns ----

TEST_F(MultiColComboBox, ColumnsFollowTheCombosColourAndFontUntilGivenTheirOwn)
{
    TCBColumn& following = combo.Columns()[0];
    TCBColumn& own = combo.Columns().Add();
    own.SetColor(QColor(0xFF, 0xC4, 0xFF));
    own.SetFont({Fonts::Pixel(Fonts::Arial, 20), Qt::red});
    EXPECT_FALSE(own.ParentColor());
    EXPECT_FALSE(own.ParentFont());

    combo.SetColor(QColor(0x10, 0x20, 0x30));
    combo.setFont(Fonts::Pixel(Fonts::UiGothic, 11));
    EXPECT_EQ(following.Color(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(following.Font().Font, combo.font());
    EXPECT_EQ(own.Color(), QColor(0xFF, 0xC4, 0xFF));
    EXPECT_EQ(own.Font().Color, QColor(Qt::red));

    combo.SetFont({combo.font(), QColor(0x46, 0x46, 0x46)});
    EXPECT_EQ(following.Font().Color, QColor(0x46, 0x46, 0x46)) << "a change of colour alone";

    own.SetParentColor(true);
    own.SetParentFont(true);
    EXPECT_EQ(own.Color(), combo.Color());
    EXPECT_EQ(own.Font(), combo.Font());

    following.SetColor(following.Color());
    EXPECT_TRUE(following.ParentColor()) << "setting the same colour changes nothing";
}

TEST_F(MultiColComboBox, CopiedColumnsMatchTheirSourceAndLeaveItUnchanged)
{
    TMultiColComboBox source;
    source.Columns()[0].SetWidth(112);
    source.Columns()[0].SetColor(QColor(0xF0, 0xF0, 0xF0));
    source.Columns()[0].SetFont({Fonts::Pixel(Fonts::UiGothic, 11), QColor(0x46, 0x46, 0x46)});
    TCBColumn& second = source.Columns().Add();
    second.SetWidth(160);
    second.SetAlignment(taCenter);
    source.SetColor(Qt::yellow);

    combo.SetColor(Qt::cyan);
    combo.SetColumns(source.Columns());
    ASSERT_EQ(combo.Columns().Count(), 2);
    EXPECT_EQ(combo.Columns()[0].Width(), 112);
    EXPECT_EQ(combo.Columns()[0].Color(), QColor(0xF0, 0xF0, 0xF0));
    EXPECT_EQ(combo.Columns()[0].Font(), source.Columns()[0].Font());
    EXPECT_FALSE(combo.Columns()[0].ParentColor());
    EXPECT_FALSE(combo.Columns()[0].ParentFont());
    EXPECT_EQ(combo.Columns()[1].Width(), 160);
    EXPECT_EQ(combo.Columns()[1].Alignment(), taCenter);
    EXPECT_TRUE(combo.Columns()[1].ParentColor());
    EXPECT_EQ(combo.Columns()[1].Color(), QColor(Qt::cyan)) << "a following column follows its new combo";

    EXPECT_EQ(source.Columns().Count(), 2);
    EXPECT_EQ(source.Columns()[1].Color(), QColor(Qt::yellow));
    EXPECT_TRUE(source.Columns()[1].ParentColor());
    EXPECT_EQ(source.Columns()[0].Width(), 112);
}

} // namespace
