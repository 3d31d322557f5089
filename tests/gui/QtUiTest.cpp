#include "app/QtUi.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
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

// The start-up chooser's "New Data" starts a document: it does not wear the Cancel icon.
TEST(QtUi, ARelabelledCancelButtonLosesTheCancelIcon) {
    QtUi ui;
    Ui::FileRequest request;
    request.title = "New Data to start new fit or Select a data file and Open Existing";
    request.cancelLabel = "New Data";
    QString text;
    QImage icon, cancel;
    WhenShown<QFileDialog>([&](QFileDialog& d) {
        QPushButton* button = d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel);
        text = button->text();
        icon = button->icon().pixmap(16).toImage();
        cancel = d.style()->standardIcon(QStyle::SP_DialogCancelButton).pixmap(16).toImage();
        QMetaObject::invokeMethod(&d, "reject");
    });
    EXPECT_FALSE(ui.ChooseFile(request).accepted);
    EXPECT_EQ(text, "New Data");
    EXPECT_FALSE(icon.isNull());
    EXPECT_NE(icon, cancel);
}

} // namespace
} // namespace lumetra
