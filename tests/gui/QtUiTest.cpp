#include "app/QtUi.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace lumetra {
namespace {

// Acts on the modal window that opens next, once it shows.
template <class Window, class Act> void WhenShown(Act act) {
    QTimer::singleShot(0, [act] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<Window*>(w); window && window->isVisible())
                return act(*window);
    });
}

// A name typed without a suffix gets ".dat", so the file shows in the open dialog's filter.
TEST(QtUi, TheSaveDialogAddsDatToANameWithoutSuffix) {
    test::TempDir dir;
    QtUi ui;
    Ui::FileRequest request;
    request.saving = true;
    request.title = "Save Lumetra Data As";
    request.filters = {{"Data Files (*.dat) ", "*.dat"}};
    request.initialDir = dir.path();
    request.defaultSuffix = "dat";
    for (const auto& [typed, chosen] :
         {std::pair{"spring", "spring.dat"}, std::pair{"decay.txt", "decay.txt"}}) {
        WhenShown<QFileDialog>([typed = QString(typed)](QFileDialog& d) {
            d.selectFile(typed);
            QMetaObject::invokeMethod(&d, "accept");
        });
        const Ui::FileChoice choice = ui.ChooseFile(request);
        EXPECT_TRUE(choice.accepted);
        EXPECT_EQ(choice.path, dir.Path(chosen));
    }
}

// Escape is Cancel in a box that offers it, so one stray key discards nothing.
TEST(QtUi, EscapeAnswersCancelWhereThereIsOne) {
    QtUi ui;
    for (Ui::Buttons buttons : {Ui::Buttons::YesNoCancel, Ui::Buttons::OkCancel}) {
        WhenShown<QMessageBox>([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); });
        EXPECT_EQ(ui.MessageBox("Save?", buttons, Ui::Icon::Question), Ui::Answer::Cancel);
    }
    WhenShown<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::No)->click(); });
    EXPECT_EQ(ui.MessageBox("Save?", Ui::Buttons::YesNoCancel, Ui::Icon::Question), Ui::Answer::No);
}

} // namespace
} // namespace lumetra
