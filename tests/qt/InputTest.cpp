// What the user does to real windows arrives in the model: mouse in twips with its buttons and
// modifiers, keys as key codes in the model's order, edits, clicks, scrolls and the rows
// selected in a list.
#include <QClipboard>
#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

#include "QtTestSupport.h"
#include "forms/Types.h"

namespace tavrolin::qt::test {
namespace {

using MouseOnAForm = QtTest;

TEST_F(MouseOnAForm, PressMoveAndReleaseArriveInFormTwipsWithButtonsAndModifiers) {
    TestForm& form = MakeForm();
    FormWindow& w = Window(form);
    QTest::mousePress(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
    QTest::mouseMove(&w, QPoint(30, 25));
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::ShiftModifier, QPoint(30, 25));
    QTest::mousePress(&w, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(5, 6));
    QTest::mouseRelease(&w, Qt::RightButton, Qt::NoModifier, QPoint(5, 6));
    QTest::mousePress(&w, Qt::MiddleButton, Qt::NoModifier, QPoint(7, 8));
    QTest::mouseRelease(&w, Qt::MiddleButton, Qt::NoModifier, QPoint(7, 8));

    std::vector<MouseCall> want = {
        {"down", 1, 1, 150, 300}, {"move", 1, 0, 450, 375}, {"up", 1, 1, 450, 375},
        {"down", 2, 6, 75, 90},   {"up", 2, 0, 75, 90},     {"down", 4, 0, 105, 120},
        {"up", 4, 0, 105, 120},
    };
    // The move carries the held button; QTest gives it no modifiers.
    std::vector<MouseCall> got;
    for (const auto& m : form.mouse) got.push_back(m);
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].kind, want[i].kind) << i;
        EXPECT_EQ(got[i].button, want[i].button) << i;
        if (got[i].kind != "move") {
            EXPECT_EQ(got[i].shift, want[i].shift) << i;
        }
        EXPECT_DOUBLE_EQ(got[i].x, want[i].x) << i;
        EXPECT_DOUBLE_EQ(got[i].y, want[i].y) << i;
    }
}

TEST_F(MouseOnAForm, AHoverMoveArrivesWithNoButton) {
    TestForm& form = MakeForm();
    QTest::mouseMove(&Window(form), QPoint(40, 12));
    // A real display answers the pointer warp a little later.
    for (int i = 0; i < 100 && form.mouse.empty(); ++i) QTest::qWait(10);
    ASSERT_FALSE(form.mouse.empty());
    EXPECT_EQ(form.mouse.back(), (MouseCall{"move", 0, 0, 600, 180}));
}

TEST_F(MouseOnAForm, DraggingAFormThatFollowsThePointerMovesItByThePointersPath) {
    // The handler moves the window by the pointer's offset, as a ruler drag does; the window
    // moves under the pointer, so each step is local to where the window now is.
    TestForm& form = MakeForm(1500, 1500, 4500, 1500);
    double grabX = 0, grabY = 0;
    form.onMouseDown = [&](int, int, double x, double y) {
        grabX = x;
        grabY = y;
    };
    form.onMouseMove = [&](int button, int, double x, double y) {
        if (button == kLeftButton) form.Move(form.Left() + x - grabX, form.Top() + y - grabY);
    };
    FormWindow& w = Window(form);
    const QPoint start = w.mapToGlobal(QPoint(20, 10));
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    for (int i = 1; i <= 5; ++i) {
        QTest::mouseMove(&w, w.mapFromGlobal(start + QPoint(10 * i, 4 * i)));
        Settle();
    }
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier,
                        w.mapFromGlobal(start + QPoint(50, 20)));
    Settle();
    EXPECT_EQ(w.pos(), QPoint(150, 120));
    EXPECT_DOUBLE_EQ(form.Left(), 2250);
    EXPECT_DOUBLE_EQ(form.Top(), 1800);
}

TEST_F(MouseOnAForm, ADoubleClickIsOneDblClickAndNoSecondPress) {
    TestForm& form = MakeForm();
    FormWindow& w = Window(form);
    // The window system's sequence: press, release, double-click (the second press), release.
    QTest::mousePress(&w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseDClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseRelease(&w, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(form.dblClicks, 1);
    int downs = 0, ups = 0;
    for (const auto& m : form.mouse) {
        downs += m.kind == "down";
        ups += m.kind == "up";
    }
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(ups, 2);
}

// A wheel notch over `widget` as the window system delivers it: handed on to the parents while
// a widget leaves it unused.
void TurnWheel(QWidget* widget, QPoint at, int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent wheel(at, widget->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(widget, &wheel);
}

TEST_F(MouseOnAForm, TheWheelOverTheFormOrAnyOfItsControlsReachesTheFormOnce) {
    TestForm& form = MakeForm(1500, 1500, 6000, 3000);
    auto& picture = form.Add<Picture>("Zoomed");
    picture.Move(1500, 300, 1500, 600);
    auto& frame = form.Add<Frame>("Box");
    frame.Move(3000, 300, 2250, 1500);
    auto& inside = form.Add<Label>("Inside", -1, &frame);
    inside.Move(150, 300, 1500, 450);
    backend.Sync();
    TurnWheel(&Window(form), QPoint(5, 5), 120, Qt::NoModifier);
    TurnWheel(Window(form).WidgetOf(&picture), QPoint(4, 6), -240, Qt::ShiftModifier);
    TurnWheel(Window(form).WidgetOf(&inside), QPoint(2, 2), 120, Qt::ControlModifier);
    const std::vector<std::pair<int, int>> want{{120, 0}, {-240, 1}, {120, 2}};
    EXPECT_EQ(form.wheel, want);
}

using MouseOnAControl = QtTest;

TEST_F(MouseOnAControl, AControlWithMouseHandlersGetsTwipsOfItsOwnAndTheFormNothing) {
    TestForm& form = MakeForm();
    auto& label = form.Add<Label>("Grip");
    label.Move(1500, 300, 1500, 600);  // at (100, 20) px
    std::vector<MouseCall> got;
    label.onMouseDown = [&](int b, int s, double x, double y) { got.push_back({"down", b, s, x, y}); };
    label.onMouseUp = [&](int b, int s, double x, double y) { got.push_back({"up", b, s, x, y}); };
    int clicks = 0;
    label.onClick = [&] { ++clicks; };
    backend.Sync();
    QWidget* widget = Window(form).WidgetOf(&label);
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::ControlModifier, QPoint(4, 6));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], (MouseCall{"down", 1, 2, 60, 90}));
    EXPECT_EQ(got[1], (MouseCall{"up", 1, 2, 60, 90}));
    EXPECT_EQ(clicks, 1) << "a label is clicked too";
    EXPECT_TRUE(form.mouse.empty());
}

using Keys = QtTest;

TEST_F(Keys, ShiftAloneArrivesAsKey16WithOnlyTheShiftBit) {
    TestForm& form = MakeForm();
    // Without its own bit, as X reports the press, and with it, as other platforms do.
    QTest::keyClick(&Window(form), Qt::Key_Shift);
    QKeyEvent withBit(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QApplication::sendEvent(&Window(form), &withBit);
    ASSERT_EQ(form.keys.size(), 2u);
    EXPECT_EQ(form.keys[0], (KeyCall{16, 1}));
    EXPECT_EQ(form.keys[1], (KeyCall{16, 1}));
    EXPECT_TRUE(form.presses.empty());
}

TEST_F(Keys, ArrowsEscapeSpaceAndTabReachTheForm) {
    TestForm& form = MakeForm();
    auto& button = form.Add<CommandButton>("Other");
    button.Move(0, 0, 1000, 300);
    backend.Sync();
    FormWindow& w = Window(form);
    for (Qt::Key k : {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down, Qt::Key_Escape,
                      Qt::Key_Space, Qt::Key_Tab}) {
        QTest::keyClick(&w, k);
    }
    QTest::keyClick(&w, Qt::Key_Right, Qt::ControlModifier);
    // QTest presses the modifier itself first.
    std::vector<KeyCall> want = {{37, 0}, {38, 0}, {39, 0}, {40, 0}, {27, 0},
                                 {32, 0}, {9, 0},  {17, 2}, {39, 2}};
    EXPECT_EQ(form.keys, want);
    EXPECT_EQ(form.presses, (std::vector<int>{27, 32}));
}

TEST_F(Keys, LettersDigitsKeypadAndPointGiveKeyCodesAndCharacters) {
    TestForm& form = MakeForm();
    FormWindow& w = Window(form);
    QTest::keyClick(&w, Qt::Key_A);
    QTest::keyClick(&w, 'A', Qt::ShiftModifier);
    QTest::keyClick(&w, Qt::Key_7);
    QTest::keyClick(&w, Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&w, Qt::Key_8, Qt::KeypadModifier);
    QTest::keyClick(&w, Qt::Key_Period);
    std::vector<KeyCall> want = {{65, 0}, {16, 1}, {65, 1}, {55, 0}, {100, 0}, {104, 0}, {190, 0}};
    EXPECT_EQ(form.keys, want);
    EXPECT_EQ(form.presses, (std::vector<int>{'a', 'A', '7', '4', '8', '.'}));
}

TEST_F(Keys, AKeyDownThatClearsTheCodeStopsKeyPress) {
    TestForm& form = MakeForm();
    form.onKeyDown = [](int& code, int&) { code = 0; };
    QTest::keyClick(&Window(form), Qt::Key_B);
    EXPECT_EQ(form.keys.size(), 1u);
    EXPECT_TRUE(form.presses.empty());
}

TEST_F(Keys, APreviewingFormSeesTabBeforeAFocusedTextBoxMovesOn) {
    TestForm& form = MakeForm();
    form.SetKeyPreview(true);
    auto& box = form.Add<TextBox>("Entry");
    box.Move(0, 0, 1500, 300);
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    ASSERT_NE(edit, nullptr);
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_EQ(form.keys.size(), 1u);
    EXPECT_EQ(form.keys[0], (KeyCall{9, 0}));
}

TEST_F(Keys, TabFollowsTheFormsOrderOverEveryKindOfStopAndWrapsRound) {
    TestForm& form = MakeForm(1500, 1500, 6000, 3000);
    auto& first = form.Add<TextBox>("First");
    first.Move(0, 0, 1500, 300);
    first.SetText("abc");
    auto& notes = form.Add<TextBox>("Notes");
    notes.Move(0, 450, 1500, 600);
    auto& note = form.Add<Label>("Note");
    note.Move(1800, 0, 1500, 300);
    auto& off = form.Add<CheckBox>("Off");
    off.Move(1800, 450, 1500, 300);
    off.SetEnabled(false);
    auto& bar = form.Add<ScrollBar>("Bar");
    bar.Move(0, 1200, 3000, 255);
    auto& last = form.Add<CommandButton>("Last");
    last.Move(3600, 0, 1500, 450);
    backend.Sync();
    // A box that becomes multi-line gets a new editor, made after all the others; it keeps
    // its place in the order all the same.
    notes.SetMultiLine(true);
    backend.Sync();
    FormWindow& w = Window(form);
    w.WidgetOf(&first)->setFocus();
    auto tab = [&](Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(w.focusWidget(), Qt::Key_Tab, modifiers);
        return w.ControlOf(w.focusWidget());
    };
    EXPECT_EQ(tab(), &notes);
    EXPECT_EQ(tab(), &bar);
    EXPECT_EQ(tab(), &last);
    EXPECT_EQ(tab(), &first);
    EXPECT_EQ(WidgetOf<QLineEdit>(form, first)->selectedText(), "abc")
        << "a line edit reached with Tab has its text selected";
    EXPECT_EQ(tab(Qt::ShiftModifier), &last);
    EXPECT_EQ(tab(Qt::ShiftModifier), &bar);
    // The keys on a scroll bar reached with Tab move it as on Windows: right and down toward
    // its maximum, a page a tenth of its range, Home and End to its ends.
    bar.SetRange(0, 255);
    bar.SetValue(100);
    backend.Sync();
    QWidget* onBar = w.focusWidget();
    QTest::keyClick(onBar, Qt::Key_Right);
    EXPECT_EQ(bar.Value(), 101);
    QTest::keyClick(onBar, Qt::Key_Up);
    EXPECT_EQ(bar.Value(), 100);
    QTest::keyClick(onBar, Qt::Key_PageDown);
    EXPECT_EQ(bar.Value(), 125);
    QTest::keyClick(onBar, Qt::Key_End);
    EXPECT_EQ(bar.Value(), 255);
    QTest::keyClick(onBar, Qt::Key_Home);
    EXPECT_EQ(bar.Value(), 0);
}

using TextBoxes = QtTest;

TEST_F(TextBoxes, ATypedCharacterReachesTheModelAndRunsChange) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("ScaleDist");
    box.Move(0, 0, 1500, 300);
    int changes = 0;
    box.onChange = [&] { ++changes; };
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    ASSERT_NE(edit, nullptr);
    QTest::keyClicks(edit, "12");
    EXPECT_EQ(box.Text(), "12");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_TRUE(form.keys.empty()) << "the form does not preview keys";
}

TEST_F(TextBoxes, AKeyPressFilterThatSwallowsLettersKeepsThemOutOfTheEditor) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("ScaleDist");
    box.Move(0, 0, 1500, 300);
    std::vector<int> seen;
    box.onKeyPress = [&](int& ascii) {
        seen.push_back(ascii);
        if (ascii >= 'a' && ascii <= 'z') ascii = 0;
    };
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    QTest::keyClicks(edit, "1a2-");
    EXPECT_EQ(edit->text(), "12-");
    EXPECT_EQ(box.Text(), "12-");
    EXPECT_EQ(seen, (std::vector<int>{'1', 'a', '2', '-'})) << "every typed character is filtered";
}

TEST_F(TextBoxes, AFilterThatReplacesACharacterTypesItsOwn) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("ScaleDist");
    box.Move(0, 0, 1500, 300);
    box.onKeyPress = [](int& ascii) {
        if (ascii == ',') ascii = '.';
    };
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    QTest::keyClicks(edit, "1,5");
    EXPECT_EQ(edit->text(), "1.5");
    EXPECT_EQ(box.Text(), "1.5");
}

TEST_F(TextBoxes, TheDesktopsEditingKeysWorkAndPastedTextPassesTheFilterAsTypedText) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("ScaleDist");
    box.Move(0, 0, 1500, 300);
    box.SetText("100");
    std::vector<int> seen;
    box.onKeyPress = [&](int& ascii) {
        seen.push_back(ascii);
        if (ascii < '0' || ascii > '9') ascii = 0;
    };
    int changes = 0;
    box.onChange = [&] { ++changes; };
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, "50");
    EXPECT_EQ(box.Text(), "50");
    EXPECT_EQ(seen, (std::vector<int>{'5', '0'})) << "Ctrl+A is no character";

    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(box.SelLength(), 1);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "5");

    QApplication::clipboard()->setText("7x8");
    QTest::keyClick(edit, Qt::Key_End);
    changes = 0;
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), "5078");
    EXPECT_EQ(edit->text(), "5078");
    EXPECT_EQ(changes, 2) << "each character that passed changed the text as typing does";
    QApplication::clipboard()->setText("xyz");
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->text(), "5078") << "a paste the filter takes nothing of leaves the box as it was";

    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), "");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(box.Text(), "5078");
}

TEST_F(TextBoxes, BackspaceEditsAndTheModelFollows) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("ScaleDist");
    box.Move(0, 0, 1500, 300);
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    QTest::keyClicks(edit, "123");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(box.Text(), "12");
}

TEST_F(TextBoxes, TheModelsTextIsShownAndARefusedEditIsUndone) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("Readout");
    box.Move(0, 0, 1500, 300);
    box.SetText("hello");
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    EXPECT_EQ(edit->text(), "hello");
    // A Change handler that refuses more than five characters.
    std::string accepted = box.Text();
    box.onChange = [&box, &accepted] {
        if (box.Text().size() > 5) {
            box.SetText(accepted);
        } else {
            accepted = box.Text();
        }
    };
    edit->setCursorPosition(2);
    QTest::keyClick(edit, Qt::Key_X);
    EXPECT_EQ(box.Text(), "hello");
    EXPECT_EQ(edit->text(), "hello");
    EXPECT_LE(edit->cursorPosition(), 5);
}

TEST_F(TextBoxes, ALockedBoxIsReadOnlyAndAProgramSelectionIsShown) {
    TestForm& form = MakeForm();
    auto& box = form.Add<TextBox>("Readout");
    box.Move(0, 0, 1500, 300);
    box.SetLocked(true);
    box.SetText("12.50 mm");
    box.SetSelection(0, 5);
    backend.Sync();
    auto* edit = WidgetOf<QLineEdit>(form, box);
    EXPECT_TRUE(edit->isReadOnly());
    EXPECT_EQ(edit->selectedText(), "12.50");
    QTest::keyClicks(edit, "9");
    EXPECT_EQ(box.Text(), "12.50 mm");
}

using ClickableControls = QtTest;

TEST_F(ClickableControls, ACheckBoxClickSetsTheModelValueAndRunsClick) {
    TestForm& form = MakeForm();
    auto& check = form.Add<CheckBox>("MeasMode");
    check.Move(0, 0, 3000, 300);
    check.SetCaption("Measurement Mode");
    int clicks = 0;
    check.onClick = [&] { ++clicks; };
    backend.Sync();
    auto* widget = WidgetOf<QCheckBox>(form, check);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->text(), "Measurement Mode");
    QTest::mouseClick(widget, Qt::LeftButton);
    EXPECT_EQ(check.Value(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(widget->isChecked());
}

TEST_F(ClickableControls, ACheckBoxTheModelRefusesShowsTheModelsValue) {
    TestForm& form = MakeForm();
    auto& check = form.Add<CheckBox>("Locked");
    check.Move(0, 0, 3000, 300);
    backend.Sync();
    int clicks = 0;
    check.onClick = [&check, &clicks] {
        ++clicks;
        check.SetValue(0);
    };
    auto* widget = WidgetOf<QCheckBox>(form, check);
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, QPoint(6, widget->height() / 2));
    EXPECT_GE(clicks, 1);
    EXPECT_EQ(check.Value(), 0);
    EXPECT_FALSE(widget->isChecked());
}

TEST_F(ClickableControls, AnOptionButtonIsChosenAndItsNeighbourCleared) {
    TestForm& form = MakeForm(1500, 1500, 6000, 3000);
    auto& mm = form.Add<OptionButton>("Units", 0);
    auto& px = form.Add<OptionButton>("Units", 1);
    mm.Move(0, 0, 1500, 300);
    px.Move(0, 450, 1500, 300);
    mm.SetValue(true);
    backend.Sync();
    auto* pxWidget = WidgetOf<QRadioButton>(form, px);
    auto* mmWidget = WidgetOf<QRadioButton>(form, mm);
    EXPECT_TRUE(mmWidget->isChecked());
    // On the indicator: a button without a caption takes clicks nowhere else.
    const QPoint indicator(6, pxWidget->height() / 2);
    QTest::mouseClick(pxWidget, Qt::LeftButton, Qt::NoModifier, indicator);
    EXPECT_TRUE(px.Value());
    EXPECT_FALSE(mm.Value());
    EXPECT_TRUE(pxWidget->isChecked());
    EXPECT_FALSE(mmWidget->isChecked());
    QTest::mouseClick(pxWidget, Qt::LeftButton, Qt::NoModifier, indicator);
    EXPECT_TRUE(pxWidget->isChecked()) << "a second click leaves the choice as it is";
}

TEST_F(ClickableControls, ACommandButtonRunsClickAndAScrollBarMoveReachesTheModel) {
    TestForm& form = MakeForm(1500, 1500, 6000, 3000);
    auto& button = form.Add<CommandButton>("Exit");
    button.Move(0, 0, 1500, 450);
    button.SetCaption("E&xit");
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    auto& bar = form.Add<ScrollBar>("Transparency");
    bar.Move(0, 600, 3000, 255);
    bar.SetRange(0, 255);
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    backend.Sync();
    QTest::mouseClick(WidgetOf<QPushButton>(form, button), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    auto* scroll = WidgetOf<QScrollBar>(form, bar);
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->maximum(), 255);
    scroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.Value(), scroll->value());
    EXPECT_GT(bar.Value(), 0);
    EXPECT_EQ(changes, 1);
    bar.SetValue(200);
    backend.Sync();
    EXPECT_EQ(scroll->value(), 200);
    EXPECT_EQ(changes, 2) << "showing the model's value is no user move";
}

using Lists = QtTest;

std::vector<ListView::Column> ReadingColumns() {
    return {{"No.", 600, true}, {"Instance", 1500, false}, {"Distance", 1200, true}};
}

TEST_F(Lists, AHundredThousandRowsOpenAskingOnlyForTheCellsInSightWithTheLastOneShown) {
    TestForm& form = MakeForm(1500, 1500, 6000, 4500);
    auto& list = form.Add<ListView>("Rows");
    list.Move(0, 0, 6000, 4000);
    list.SetColumns(ReadingColumns());
    std::size_t asked = 0;
    list.cellText = [&asked](std::size_t row, std::size_t column) {
        ++asked;
        return std::to_string(row) + ":" + std::to_string(column);
    };
    constexpr std::size_t kRows = 100000;
    list.RowsAdded(kRows);
    list.ScrollTo(kRows - 1);
    backend.Sync();
    Settle();
    auto* view = WidgetOf<QTableView>(form, list);
    ASSERT_NE(view, nullptr);
    view->grab();  // painted as the user sees it
    EXPECT_EQ(view->model()->rowCount(), static_cast<int>(kRows));
    EXPECT_GT(asked, 0u);
    EXPECT_LT(asked, kRows / 10) << "a list asks for the cells it shows, not for every row";
    const QModelIndex last = view->model()->index(static_cast<int>(kRows) - 1, 0);
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(last)))
        << "the row asked for is in sight once the list is shown";
    EXPECT_EQ(last.data().toString(), "99999:0");
    // Columns as the model gives them: widths from twips, numbers to the right.
    QHeaderView* header = view->horizontalHeader();
    EXPECT_EQ(header->count(), 3);
    EXPECT_EQ(header->sectionSize(0), 40);
    EXPECT_EQ(header->sectionSize(1), 100);
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), "Instance");
    EXPECT_TRUE(last.data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(view->model()->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
    EXPECT_EQ(view->rowHeight(0), view->rowHeight(static_cast<int>(kRows) - 1));
    // A letter typed on the list looks for no row by its text: that would ask for every row.
    asked = 0;
    QTest::keyClick(view, Qt::Key_Z);
    EXPECT_LT(asked, kRows / 10);
    // One more row at the end: the view grows by it and asks for no more than it shows.
    asked = 0;
    list.RowsAdded(kRows + 1);
    list.ScrollTo(kRows);
    backend.Sync();
    view->grab();
    EXPECT_EQ(view->model()->rowCount(), static_cast<int>(kRows) + 1);
    EXPECT_LT(asked, kRows / 10);
    EXPECT_TRUE(view->viewport()->rect().contains(
        view->visualRect(view->model()->index(static_cast<int>(kRows), 0))));
}

TEST_F(Lists, TheUsersSelectionReachesTheModelAndTheProgramsReachesTheView) {
    TestForm& form = MakeForm(1500, 1500, 6000, 4500);
    auto& list = form.Add<ListView>("Rows");
    list.Move(0, 0, 6000, 4000);
    list.SetColumns(ReadingColumns());
    list.cellText = [](std::size_t row, std::size_t) { return std::to_string(row); };
    list.RowsAdded(50);
    int changes = 0;
    list.onChange = [&] { ++changes; };
    backend.Sync();
    auto* view = WidgetOf<QTableView>(form, list);
    ASSERT_NE(view, nullptr);
    auto rowAt = [&](int row) { return view->visualRect(view->model()->index(row, 1)).center(); };
    using Rows = std::vector<std::size_t>;
    const std::uint64_t shownVersion = list.SelectionVersion();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rowAt(2));
    EXPECT_EQ(list.SelectedRows(), (Rows{2}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowAt(5));
    EXPECT_EQ(list.SelectedRows(), (Rows{2, 3, 4, 5}));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ControlModifier, rowAt(4));
    EXPECT_EQ(list.SelectedRows(), (Rows{2, 3, 5}));
    // The arrows are the list's own, through the form's keys.
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(list.SelectedRows(), (Rows{5}));
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(list.SelectedRows(), (Rows{5, 6}));
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(list.SelectionVersion(), shownVersion) << "what the user chose is not shown back";
    EXPECT_EQ(form.keys.back(), (KeyCall{40, 1}));

    list.SetSelectedRows({7, 8, 20});
    backend.Sync();
    QItemSelectionModel* selection = view->selectionModel();
    for (int row : {7, 8, 20}) EXPECT_TRUE(selection->isRowSelected(row, {})) << row;
    for (int row : {5, 6, 9}) EXPECT_FALSE(selection->isRowSelected(row, {})) << row;
    EXPECT_EQ(list.SelectedRows(), (Rows{7, 8, 20}));
    EXPECT_EQ(changes, 6) << "showing the program's selection is no choice of the user's";
    // Rows added at the end keep the selection; new rows clear it.
    list.RowsAdded(60);
    backend.Sync();
    EXPECT_EQ(view->model()->rowCount(), 60);
    EXPECT_TRUE(selection->isRowSelected(20, {}));
    list.RowsReset(3);
    list.SetSelectedRows({1});
    backend.Sync();
    EXPECT_EQ(view->model()->rowCount(), 3);
    EXPECT_EQ(selection->selectedRows().size(), 1);
    EXPECT_TRUE(selection->isRowSelected(1, {}));
    EXPECT_EQ(list.SelectedRows(), (Rows{1}));
}

TEST_F(Lists, KeysTheFormTakesNeverReachTheListAndItsCopyGoesToTheClipboard) {
    TestForm& form = MakeForm(1500, 1500, 6000, 4500);
    form.SetKeyPreview(true);
    auto& list = form.Add<ListView>("Rows");
    list.Move(0, 0, 6000, 3000);
    list.SetColumns(ReadingColumns());
    list.cellText = [](std::size_t row, std::size_t column) {
        return std::to_string(row) + "," + std::to_string(column);
    };
    list.RowsAdded(10);
    auto& close = form.Add<CommandButton>("Close");
    close.Move(0, 3300, 1500, 450);
    bool copied = false;
    form.onKeyDown = [&](int& code, int& shift) {
        if (shift != kCtrlMask || (code != 'C' && code != 'A')) return;
        if (code == 'C') {
            std::string text;
            for (std::size_t row : list.SelectedRows()) {
                for (std::size_t c = 0; c < list.Columns().size(); ++c) {
                    text += list.Cell(row, c) + (c + 1 < list.Columns().size() ? "\t" : "\n");
                }
            }
            copied = platform.SetClipboardText(text);
        }
        code = 0;
    };
    backend.Sync();
    auto* view = WidgetOf<QTableView>(form, list);
    ASSERT_NE(view, nullptr);
    const QPoint row1 = view->visualRect(view->model()->index(1, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, row1);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      view->visualRect(view->model()->index(2, 0)).center());
    ASSERT_EQ(list.SelectedRows(), (std::vector<std::size_t>{1, 2}));
    QApplication::clipboard()->setText("before");
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list.SelectedRows(), (std::vector<std::size_t>{1, 2}))
        << "Ctrl+A taken by the form selects nothing in the list";
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(form.keys.back(), (KeyCall{'C', kCtrlMask}));
    EXPECT_TRUE(copied);
    EXPECT_EQ(QApplication::clipboard()->text(), "1,0\t1,1\t1,2\n2,0\t2,1\t2,2\n");
    // Tab leaves the list for the form's next stop rather than walking its cells.
    FormWindow& w = Window(form);
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Tab);
    EXPECT_EQ(w.ControlOf(w.focusWidget()), &close);
}

using Timers = QtTest;

TEST_F(Timers, ATimerTicksUntilItIsStoppedAlsoFromItsOwnTick) {
    int ticks = 0;
    int id = 0;
    id = backend.StartTimer(10, [&] {
        if (++ticks == 3) backend.StopTimer(id);
    });
    int other = 0;
    const int second = backend.StartTimer(10, [&] { ++other; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 3 && other >= 3; }, 2000));
    backend.StopTimer(second);
    const int otherSeen = other;
    QTest::qWait(60);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(other, otherSeen);
    EXPECT_FALSE(backend.TimerRunning(id));
}

}  // namespace
}  // namespace tavrolin::qt::test
