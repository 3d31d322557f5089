#include "app/AboutDlg.h"
#include "framework/HelpViewer.h"
#include "framework/ToolbarImages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace lumetra {
namespace {

QString ResourcePath(const QUrl& url) {
    return ":" + url.path();
}

// Loads a topic the way the help window does, so style sheet and relative links resolve alike.
struct LoadedTopic {
    explicit LoadedTopic(const QUrl& url) { browser.setSource(url); }
    QString Title() const { return browser.documentTitle(); }
    QString Heading() const {
        for (QTextBlock b = browser.document()->begin(); b.isValid(); b = b.next())
            if (b.blockFormat().headingLevel() == 1)
                return b.text();
        return {};
    }
    std::set<QString> Anchors() const {
        std::set<QString> names;
        for (QTextBlock b = browser.document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                for (const QString& name : it.fragment().charFormat().anchorNames())
                    names.insert(name);
        return names;
    }
    std::set<QString> Links() const {
        std::set<QString> hrefs;
        for (QTextBlock b = browser.document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat f = it.fragment().charFormat();
                if (f.isAnchor() && !f.anchorHref().isEmpty())
                    hrefs.insert(f.anchorHref());
            }
        return hrefs;
    }
    QTextBrowser browser;
};

QStringList TopicFiles() {
    HelpTopicUrl(help::kContents); // registers the topics
    return QDir(":/help").entryList({"*.html"}, QDir::Files, QDir::Name);
}

QUrl TopicUrl(const QString& file) {
    return QUrl("qrc:/help/" + file);
}

TEST(HelpTopics, EachContextOpensItsTopic) {
    const std::map<int, QString> expected{
        {5000, "Lumetra Help Contents"},
        {5001, "Application Synopsis"},
        {5002, "Lumetra Help Contents"},
        {5003, "Curve Page"},
        {5004, "Data Page"},
        {5005, "Resolution Page"},
        {5006, "Compute Y Page"},
        {5007, "Compute X Page"},
    };
    for (const auto& [context, title] : expected) {
        const QUrl url = HelpTopicUrl(context);
        SCOPED_TRACE(context);
        ASSERT_TRUE(QFile::exists(ResourcePath(url))) << url.toString().toStdString();
        LoadedTopic topic(url);
        EXPECT_EQ(topic.Title(), title);
        EXPECT_EQ(topic.Heading(), title);
    }
    EXPECT_EQ(HelpTopicUrl(4999), HelpTopicUrl(help::kContents));
    EXPECT_EQ(HelpTopicUrl(5008), HelpTopicUrl(help::kContents));
}

TEST(HelpTopics, EveryTopicHasATitleAndEveryLinkLeadsToATopic) {
    const QStringList files = TopicFiles();
    ASSERT_GE(files.size(), 9);
    for (const QString& file : files) {
        SCOPED_TRACE(file.toStdString());
        LoadedTopic topic(TopicUrl(file));
        EXPECT_FALSE(topic.Title().isEmpty());
        EXPECT_EQ(topic.Heading(), topic.Title());
        for (const QString& href : topic.Links()) {
            const QUrl target = TopicUrl(file).resolved(QUrl(href));
            SCOPED_TRACE(href.toStdString());
            ASSERT_EQ(target.scheme(), "qrc");
            ASSERT_TRUE(QFile::exists(ResourcePath(target)));
            if (target.hasFragment()) {
                LoadedTopic linked(target.adjusted(QUrl::RemoveFragment));
                EXPECT_TRUE(linked.Anchors().count(target.fragment()));
            }
        }
    }
}

TEST(HelpTopics, ContentsLeadToEveryOtherTopic) {
    LoadedTopic contents(HelpTopicUrl(help::kContents));
    std::set<QString> linked;
    for (const QString& href : contents.Links())
        linked.insert(QUrl(href).path());
    for (const QString& file : TopicFiles()) {
        if (file != "contents.html") {
            EXPECT_TRUE(linked.count(file)) << file.toStdString();
        }
    }
}

int OpenHelpWindows() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<CHelpViewer*>(w))
            ++count;
    return count;
}

TEST(HelpViewer, UnknownContextShowsTheContents) {
    QWidget frame;
    ShowHelpContext(&frame, 4242);
    CHelpViewer* viewer = CHelpViewer::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Browser()->source(), HelpTopicUrl(help::kContents));
    EXPECT_EQ(viewer->Browser()->documentTitle(), "Lumetra Help Contents");
}

TEST(HelpViewer, ASecondRequestReusesTheWindowAndKeepsItsHistory) {
    QWidget frame;
    ShowHelpContext(&frame, help::kCurvePage);
    CHelpViewer* viewer = CHelpViewer::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "Lumetra Help");
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_FALSE(viewer->isModal());
    EXPECT_FALSE(viewer->BackButton()->isEnabled());

    ShowHelpContext(&frame, help::kComputeYPage);
    EXPECT_EQ(CHelpViewer::Current(), viewer);
    EXPECT_EQ(OpenHelpWindows(), 1);
    EXPECT_EQ(viewer->Browser()->source(), HelpTopicUrl(help::kComputeYPage));

    ASSERT_TRUE(viewer->BackButton()->isEnabled());
    viewer->BackButton()->click();
    EXPECT_EQ(viewer->Browser()->source(), HelpTopicUrl(help::kCurvePage));
    ASSERT_TRUE(viewer->ForwardButton()->isEnabled());
    viewer->ForwardButton()->click();
    EXPECT_EQ(viewer->Browser()->source(), HelpTopicUrl(help::kComputeYPage));
    viewer->ContentsButton()->click();
    EXPECT_EQ(viewer->Browser()->source(), HelpTopicUrl(help::kContents));
}

TEST(HelpViewer, HelpFromAModalSheetBelongsToItAndOutlivesIt) {
    QWidget frame;
    ShowHelpContext(&frame, help::kSynopsis);
    CHelpViewer* viewer = CHelpViewer::Current();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->parentWidget(), &frame);

    auto* sheet = new QDialog(&frame);
    auto* page = new QWidget(sheet);
    sheet->setModal(true);
    sheet->show();
    ShowHelpContext(page, help::kDataPage);
    EXPECT_EQ(CHelpViewer::Current(), viewer);
    EXPECT_EQ(viewer->parentWidget(), sheet);
    EXPECT_TRUE(viewer->isVisible());

    sheet->hide();
    delete sheet;
    ASSERT_EQ(CHelpViewer::Current(), viewer);
    EXPECT_EQ(viewer->parentWidget(), &frame);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->Browser()->source(), HelpTopicUrl(help::kDataPage));
}

TEST(AboutBox, NamesTheVersionAndTheMaker) {
    CAboutDlg about;
    EXPECT_EQ(about.windowTitle(), "About Lumetra");
    EXPECT_TRUE(about.isModal());
    const QStringList lines = about.TextLines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "Lumetra Version 1.3.0");
    EXPECT_EQ(lines[1], "Vandrel Enterprises");
    EXPECT_EQ(about.ContactLines(),
              QStringList({"support@vandrel.example", "https://vandrel.example/lumetra"}));

    const auto buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text(), "OK");
    about.show();
    buttons[0]->click();
    EXPECT_EQ(about.result(), QDialog::Accepted);
    EXPECT_FALSE(about.isVisible());
}

bool HasInk(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) == 255)
                return true;
    return false;
}

TEST(ToolbarImages, EveryButtonHasItsOwnImageOfSixteenByFifteen) {
    const int ids[] = {57600, 57601, 57603, 32774, 32776, 32779,
                       32781, 32782, 32783, 32784, 57607, 32775};
    std::set<QByteArray> distinct;
    for (int id : ids) {
        SCOPED_TRACE(id);
        const QPixmap image = ToolbarImage(id);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(16, 15));
        EXPECT_TRUE(HasInk(image));
        const QImage pixels = image.toImage();
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(pixels.constBits()), pixels.sizeInBytes()));
    }
    EXPECT_EQ(distinct.size(), std::size(ids));
    EXPECT_TRUE(ToolbarImage(0).isNull());
    EXPECT_TRUE(ToolbarImage(57604).isNull()); // Save As has a menu entry but no button
    EXPECT_TRUE(ToolbarImage(32771).isNull()); // nor has the synopsis
}

TEST(ToolbarImages, TheIconsComeInThreeSizes) {
    for (const QIcon& icon : {ApplicationIcon(), DocumentIcon()}) {
        const QList<QSize> sizes = icon.availableSizes();
        EXPECT_EQ(sizes, QList<QSize>({{16, 16}, {32, 32}, {48, 48}}));
        EXPECT_TRUE(HasInk(icon.pixmap(16, 16)));
    }
}

} // namespace
} // namespace lumetra
