// Sorting by the column titles with the real mouse and Ctrl key: plain
// clicks, Ctrl+clicks applied when Ctrl goes up or the focus leaves (for
// another control, the find dialog or a popup), presses that end elsewhere,
// and the order of the rows read from the dataset.

#include "grid/finddialog/find_dialog_eh.h"
#include "platform/ui/button.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/modal_answerer.h"
#include "tests/grid/sorting/sort_fixture.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>

class TitleClickTest : public SortFixture {};

TEST_F(TitleClickTest, PlainClicksAlternateAscendingAndDescendingOnOneColumn) {
    ClickTitle(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(Marking(), QStringLiteral("DESCRIPCION asc 1"));
    EXPECT_EQ(cds_->IndexName(), QStringLiteral("SortIndexEh"));
    EXPECT_EQ(cds_->IndexFieldNames(), QStringList{QStringLiteral("DESCRIPCION")});
    ExpectOrder({{"DESCRIPCION", false}});
    // Upper case before lower case: the index compares texts with their case.
    EXPECT_EQ(Codes().mid(0, 4), (QStringList{"A07", "A05", "A03", "A10"}));
    EXPECT_EQ(Codes().mid(Codes().size() - 2), (QStringList{"A02", "A06"}));

    ClickTitle(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(Marking(), QStringLiteral("DESCRIPCION desc 1"));
    ExpectOrder({{"DESCRIPCION", true}});
    EXPECT_EQ(Codes().mid(0, 2), (QStringList{"A06", "A02"}));

    ClickTitle(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(Marking(), QStringLiteral("DESCRIPCION asc 1"));
    ExpectOrder({{"DESCRIPCION", false}});
    EXPECT_FALSE(Sorting()->SortPending());
}

TEST_F(TitleClickTest, EqualKeysKeepTheirOrderOfArrivalBothWays) {
    for (const char* name : {"CATEG", "PRECIO"}) {
        const QString field = QString::fromLatin1(name);
        ClickTitle(field);
        ExpectOrder({{name, false}});
        ClickTitle(field);
        ExpectOrder({{name, true}});
    }
}

TEST_F(TitleClickTest, CtrlClickAddsAColumnAndSortsWhenCtrlGoesUp) {
    ClickTitle(QStringLiteral("CATEG"));
    ExpectOrder({{"CATEG", false}});
    const QStringList byCateg = Codes();
    EXPECT_EQ(byCateg.front(), QStringLiteral("A02"));

    CtrlClicks({QStringLiteral("DESCRIPCION")});
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1, DESCRIPCION asc 2"));
    EXPECT_TRUE(Sorting()->SortPending());
    EXPECT_EQ(Codes(), byCateg) << "sorted before Ctrl went up";
    EXPECT_EQ(cds_->IndexFieldNames(), QStringList{QStringLiteral("CATEG")});

    CtrlUp();
    EXPECT_FALSE(Sorting()->SortPending());
    EXPECT_EQ(cds_->IndexName(), QStringLiteral("SortIndexEh"));
    EXPECT_EQ(cds_->IndexFieldNames(), (QStringList{"CATEG", "DESCRIPCION"}));
    ExpectOrder({{"CATEG", false}, {"DESCRIPCION", false}});
    EXPECT_EQ(Codes().front(), QStringLiteral("A15"));
    EXPECT_EQ(Codes().back(), QStringLiteral("A08"));
    // Ctrl going up again, with no click waiting, sorts nothing: the current
    // record stays where the user moved it.
    cds_->MoveBy(4);
    CtrlDown();
    CtrlUp();
    EXPECT_EQ(cds_->RecNo(), 5);
}

TEST_F(TitleClickTest, CtrlClicksCycleAColumnAndRenumberTheOthers) {
    ClickTitle(QStringLiteral("CATEG"));
    CtrlClicks({QStringLiteral("DESCRIPCION")});
    CtrlUp();
    struct TStep {
        const char* marking;
        std::vector<std::pair<const char*, bool>> order;
    };
    const TStep steps[] = {
        {"CATEG desc 1, DESCRIPCION asc 2", {{"CATEG", true}, {"DESCRIPCION", false}}},
        {"DESCRIPCION asc 1", {{"DESCRIPCION", false}}},
        {"DESCRIPCION asc 1, CATEG asc 2", {{"DESCRIPCION", false}, {"CATEG", false}}},
    };
    for (const TStep& step : steps) {
        SCOPED_TRACE(step.marking);
        CtrlClicks({QStringLiteral("CATEG")});
        CtrlUp();
        EXPECT_EQ(Marking(), QString::fromLatin1(step.marking));
        ExpectOrder(step.order);
    }
}

TEST_F(TitleClickTest, APlainClickClearsTheOtherColumns) {
    ClickTitle(QStringLiteral("CATEG"));
    CtrlClicks({QStringLiteral("DESCRIPCION")});
    CtrlUp();
    ClickTitle(QStringLiteral("PRECIO"));
    EXPECT_EQ(Marking(), QStringLiteral("PRECIO asc 1"));
    EXPECT_EQ(cds_->IndexFieldNames(), QStringList{QStringLiteral("PRECIO")});
    ExpectOrder({{"PRECIO", false}});
}

TEST_F(TitleClickTest, CtrlHeldAndAClickIntoAnotherControlSortsOnTheFocusChange) {
    CtrlClicks({QStringLiteral("CATEG"), QStringLiteral("UNIDAD")});
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1, UNIDAD asc 2"));
    EXPECT_EQ(Codes(), ArrivalCodes());
    QTest::mouseClick(other_->Widget(), Qt::LeftButton, Qt::ControlModifier);
    QApplication::processEvents();
    ASSERT_TRUE(other_->Widget()->hasFocus());
    EXPECT_FALSE(Sorting()->SortPending());
    EXPECT_EQ(cds_->IndexFieldNames(), (QStringList{"CATEG", "UNIDAD"}));
    ExpectOrder({{"CATEG", false}, {"UNIDAD", false}});
    // Ctrl going up later, in the other control or back in the grid, sorts
    // nothing again: a sort would make the first record current.
    cds_->SetRecNo(5);
    QTest::keyRelease(other_->Widget(), Qt::Key_Control, Qt::NoModifier);
    grid_->SetFocus();
    QApplication::processEvents();
    CtrlUp();
    EXPECT_EQ(cds_->RecNo(), 5);
}

TEST_F(TitleClickTest, CtrlHeldAndTheFindDialogOpenedSortsBeforeItSearches) {
    grid_->SelectVisibleColumn(VisibleIndexOf(QStringLiteral("DESCRIPCION")));
    CtrlClicks({QStringLiteral("DESCRIPCION")});
    QString found;
    TModalAnswerer person;
    person.answer = [&](TForm& form) {
        auto& dialog = dynamic_cast<TDBGridEhFindDlg&>(form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
        EXPECT_FALSE(Sorting()->SortPending());
        // Ctrl goes up in the dialog; the first "arandela" from the top, in
        // any case, is the one the sorted order puts first.
        QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control, Qt::NoModifier);
        QComboBox* text = dialog.cbText->Combo();
        text->setFocus();
        QTest::keyClicks(text, QStringLiteral("arandela"));
        QTest::mouseClick(dialog.bFind->Widget(), Qt::LeftButton);
        found = CodigoAt(cds_->RecNo());
        form.Close();
    };
    // Ctrl+F starts the incremental search, a second one opens the find
    // dialog; Ctrl stays down all the while.
    for (int i = 0; i < 2; ++i) {
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent f(type, Qt::Key_F, Qt::ControlModifier);
            QApplication::sendEvent(KeyTarget(), &f);
        }
    }
    ASSERT_EQ(person.shown, std::vector<QString>{"TDBGridEhFindDlg"});
    EXPECT_EQ(cds_->IndexFieldNames(), QStringList{QStringLiteral("DESCRIPCION")});
    ExpectOrder({{"DESCRIPCION", false}});
    EXPECT_EQ(found, QStringLiteral("A07")); // "Arandela"; "arandela" A02 arrived first
    delete DBGridEhFindDlg;
}

TEST_F(TitleClickTest, CtrlHeldAndAPopupTakingTheKeysSorts) {
    const struct {
        const char* name;
        bool fromEditor;
    } cases[] = {{"from the grid", false}, {"from the cell editor", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTitle(QStringLiteral("CATEG"));
        CtrlClicks({QStringLiteral("CODIGO")});
        if (c.fromEditor) {
            Key(Qt::Key_F2);
            ASSERT_TRUE(grid_->InplaceEditor()->hasFocus());
        }
        QMenu menu;
        menu.addAction(QStringLiteral("Copiar"));
        menu.popup(grid_->Widget()->mapToGlobal(QPoint(40, 40)));
        QApplication::processEvents();
        EXPECT_FALSE(Sorting()->SortPending());
        EXPECT_EQ(cds_->IndexFieldNames(), (QStringList{"CATEG", "CODIGO"}));
        ExpectOrder({{"CATEG", false}, {"CODIGO", false}});
        menu.close();
        QApplication::processEvents();
        CtrlUp();
        // Afresh for the next case.
        for (const char* name : {"CODIGO", "CATEG"})
            Column(QString::fromLatin1(name)).Title().SetSortMarker(smNoneEh);
        ASSERT_EQ(Marking(), QString());
    }
}

TEST_F(TitleClickTest, TheCellEditorTakingTheFocusIsNoFocusChange) {
    ClickTitle(QStringLiteral("CATEG"));
    CtrlClicks({QStringLiteral("CODIGO")});
    Key(Qt::Key_F2);
    ASSERT_TRUE(grid_->InplaceEditor()->hasFocus());
    EXPECT_TRUE(Sorting()->SortPending());
    EXPECT_EQ(cds_->IndexFieldNames(), QStringList{QStringLiteral("CATEG")});
    // Ctrl goes up in the editor.
    CtrlUp();
    EXPECT_EQ(cds_->IndexFieldNames(), (QStringList{"CATEG", "CODIGO"}));
}

TEST_F(TitleClickTest, APressThatEndsOutsideItsTitleSortsNothing) {
    const QPoint press(TitleCentre(VisibleIndexOf(QStringLiteral("DESCRIPCION"))).x(),
                       grid_->TitleHeight() - 2);
    struct TCase {
        const char* name;
        QPoint release;
    };
    const TCase cases[] = {
        // Out of the title by 3 pixels: not yet a column move.
        {"below the title", press + QPoint(0, 3)},
        // Dragged onto another title: a column move.
        {"onto another title", TitleCentre(VisibleIndexOf(QStringLiteral("CATEG")))},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        Drag(press, c.release);
        EXPECT_EQ(Marking(), QString());
        // Released there with no move reported before.
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, press);
        QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, c.release);
        EXPECT_EQ(Marking(), QString());
        EXPECT_EQ(cds_->IndexName(), QString());
        EXPECT_EQ(Codes(), ArrivalCodes());
    }
    EXPECT_NE(grid_->VisibleColumns()[1]->FieldName(), QStringLiteral("DESCRIPCION"))
        << "the drag moved no column";
}

TEST_F(TitleClickTest, AfterASortTheFirstRecordIsCurrentAndTheViewShowsTheTop) {
    cds_->Last();
    ASSERT_GT(grid_->Rows().FirstRecNo(), 1);
    for (const char* name : {"SUBCATEG", "SUBCATEG", "CODIGO"}) {
        ClickTitle(QString::fromLatin1(name));
        EXPECT_EQ(cds_->RecNo(), 1);
        EXPECT_EQ(grid_->Rows().FirstRecNo(), 1);
        EXPECT_EQ(grid_->Rows().CurrentRow(), 0);
        cds_->Last();
    }
}

TEST_F(TitleClickTest, APendingCellEditIsPostedBeforeTheSort) {
    // Row 1 is A01 "Tuerca": typed over, it sorts under its new description.
    grid_->SelectVisibleColumn(VisibleIndexOf(QStringLiteral("DESCRIPCION")));
    Type(QStringLiteral("Abrazadera"));
    ASSERT_EQ(cds_->State(), dsEdit);
    ClickTitle(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(cds_->State(), dsBrowse);
    EXPECT_EQ(CodigoAt(1), QStringLiteral("A01"));
    EXPECT_EQ(cds_->FieldValueAt(Field("DESCRIPCION"), 1).AsString(), QStringLiteral("Abrazadera"));
    ExpectOrder({{"DESCRIPCION", false}});
}
