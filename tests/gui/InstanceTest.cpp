#include "AppFixture.h"

#include "app/InstanceChannel.h"
#include "data/LumetraDoc.h"

#include <QElapsedTimer>
#include <QProcess>

#include <unistd.h>

namespace lumetra {
namespace {

using SecondStart = test::AppFixture;

// The real program started a second time with a file: it hands the file over and ends, and the
// running one opens it.
TEST_F(SecondStart, OpensItsFileInTheRunningProgram) {
    ASSERT_TRUE(Start({QString::fromStdString(Sample())}));
    const QString name = QString("lumetra-test-%1").arg(::getpid());
    CInstanceChannel channel(name);
    ASSERT_TRUE(channel.Listen());
    QObject::connect(&channel, &CInstanceChannel::filesReceived, &channel,
                     [this](const QStringList& files) { app->OpenFilesFromShell(files); });

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LUMETRA_INSTANCE", name);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(env);
    second.start(LUMETRA_APP, {LUMETRA_SOURCE_DIR "/samples/pontius.dat"});
    QElapsedTimer timer;
    timer.start();
    while (second.state() != QProcess::NotRunning && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second.waitForFinished(10);
    }
    if (second.state() != QProcess::NotRunning) {
        second.kill();
        second.waitForFinished();
        FAIL() << "the second start did not end";
    }
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    Settle();
    const std::vector<CLumetraDoc*> docs = app->DocManager().Documents();
    ASSERT_EQ(docs.size(), 2u);
    EXPECT_EQ(docs[1]->GetTitle(), "pontius.dat");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SecondStart, FindsNoneWhenNothingRuns) {
    CInstanceChannel channel(QString("lumetra-test-none-%1").arg(::getpid()));
    EXPECT_FALSE(channel.SendToRunning({"x.dat"}));
}

} // namespace
} // namespace lumetra
