// The back picture made from the list: where the editor's text area lands on it, what is left
// out, and when the cover keeps the list with its back picture (and forgets it).
#include "cover/BackText.h"
#include "TestEnv.h"
#include "cover/Cover.h"
#include "cover/CoverLayout.h"
#include "cover/ProjectFiles.h"
#include "cover/Workspace.h"

#include <QDir>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <gtest/gtest.h>

namespace {

// The editor's text area inside a two-pixel border, as the 556 x 472 editor has it.
const QRect TextArea(2, 2, 552, 468);

// A list with a 4 x 4 red mark as its first character and a long body under it, on black.
void makeMarkedList(QTextDocument& document) {
    QImage mark(4, 4, QImage::Format_RGB32);
    mark.fill(Qt::red);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("mark")), mark);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setBackground(Qt::black);
    document.rootFrame()->setFrameFormat(root);
    QTextCursor cursor(&document);
    QTextImageFormat image;
    image.setName(QStringLiteral("mark"));
    cursor.insertImage(image);
    QTextCharFormat white;
    white.setForeground(Qt::white);
    for (int i = 1; i <= 60; ++i)
        cursor.insertText(QStringLiteral("\n%1. Track").arg(i), white);
}

bool isRed(QRgb p) {
    return qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
}

QPoint firstRed(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isRed(image.pixel(x, y)))
                return QPoint(x, y);
    return QPoint(-1, -1);
}

// The editor's pixels from (5, 3) to (552, 472) are stretched onto the picture's 556 x 472, of
// which 552 remain: the text area's corner and its bottom edge land where that stretch puts them,
// and nothing beyond the text area reaches the picture.
TEST(BackText, TheEditorsTextAreaIsCutAndStretchedOntoThePicture) {
    QTextDocument document;
    makeMarkedList(document);
    const QImage picture =
        BackText::picture(BackTextView(document, TextArea, QPoint()), QStringLiteral("Sleevix"));
    ASSERT_EQ(picture.size(), QSize(552, 472));

    // The mark sits at the document's margin of 4: editor (6, 6), so picture (1.02, 3.02).
    const QPoint mark = firstRed(picture);
    EXPECT_NEAR(mark.x(), (TextArea.left() + 4 - 5) * 556.0 / 547, 1.0);
    EXPECT_NEAR(mark.y(), (TextArea.top() + 4 - 3) * 472.0 / 469, 1.0);
    // The list's black paper covers the picture from its top-left to the right edge...
    EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(551, 300), qRgb(0, 0, 0));
    // ... down to the text area's bottom edge, editor row 470: picture row 469.98.
    EXPECT_EQ(picture.pixel(300, 468), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(300, 471), qRgb(255, 255, 255)) << "the editor's border is not copied";
    // The product name on its white cell, in the middle near the bottom.
    int whiteInStamp = 0, darkInStamp = 0;
    for (int y = 452; y < 465; ++y)
        for (int x = 250; x < 300; ++x) {
            whiteInStamp += picture.pixel(x, y) == qRgb(255, 255, 255);
            darkInStamp += qGray(picture.pixel(x, y)) < 100;
        }
    EXPECT_GT(whiteInStamp, 100);
    EXPECT_GT(darkInStamp, 20);
}

// What is scrolled out of sight is not on the picture; the copy does not follow later edits.
TEST(BackText, OnlyWhatIsInSightAtTheCopyIsOnThePicture) {
    QTextDocument document;
    makeMarkedList(document);
    const BackTextView scrolled(document, TextArea, QPoint(0, 40));
    EXPECT_EQ(firstRed(BackText::picture(scrolled, QStringLiteral("Sleevix"))), QPoint(-1, -1));

    const BackTextView view(document, TextArea, QPoint());
    const QImage before = BackText::picture(view, QStringLiteral("Sleevix"));
    QTextCursor(&document).insertText(QStringLiteral("Added after the copy "));
    document.rootFrame()->setFrameFormat(QTextFrameFormat());
    EXPECT_TRUE(BackText::picture(view, QStringLiteral("Sleevix")) == before);
    EXPECT_FALSE(view.document()->toPlainText().contains(QStringLiteral("Added")));
}

// A picture painted through a painter scaled four times has the same lines in the same places:
// reduced again, it differs from the picture only along the letters' edges.
TEST(BackText, AScaledPainterKeepsTheLinesWhereThePictureHasThem) {
    QTextDocument document;
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(17);
    document.setDefaultFont(arial);
    document.setPlainText(QStringLiteral("Velmora - Last Rose Of Summer 2002\n\n") +
                          QStringLiteral("A paragraph long enough to wrap in the editor, so that "
                                         "the print must break it where the picture breaks it, "
                                         "word for word, and not a word later.\n")
                              .repeated(4));
    const BackTextView view(document, TextArea, QPoint());
    const QImage picture = BackText::picture(view, QStringLiteral("Sleevix"));
    QImage big(552 * 4, 472 * 4, QImage::Format_RGB32);
    {
        QPainter painter(&big);
        painter.scale(4, 4);
        BackText::paint(painter, view, QStringLiteral("Sleevix"));
    }
    const QImage reduced = big.scaled(552, 472, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int ink = 0, apart = 0;
    for (int y = 0; y < 472; ++y)
        for (int x = 0; x < 552; ++x) {
            const int a = qGray(picture.pixel(x, y)), b = qGray(reduced.pixel(x, y));
            ink += a < 128;
            apart += std::abs(a - b) > 128;
        }
    ASSERT_GT(ink, 2000);
    EXPECT_LT(apart, ink / 10) << apart << " of " << ink;
}

class CoverBackTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedDir_ = QDir::currentPath();
        root_ = testenv::prepareWorkspace(QStringLiteral("backtext"));
        ws_ = std::make_unique<Workspace>(testenv::startupFacts(), QDir::currentPath());
        cover_ = std::make_unique<Cover>(*ws_);
        cover_->drawTemplate();
        document_.setPlainText(QStringLiteral("Velmora - Last Rose Of Summer 2002\n\n"
                                              "1.\tThe Last Rose Of Summer\t4:12"));
    }
    void TearDown() override { QDir::setCurrent(savedDir_); }

    BackTextView view() const { return BackTextView(document_, TextArea, QPoint()); }

    QString savedDir_, root_;
    std::unique_ptr<Workspace> ws_;
    std::unique_ptr<Cover> cover_;
    QTextDocument document_;
};

TEST_F(CoverBackTextTest, TheCopyIsKeptUntilAnotherBackPictureComes) {
    cover_->copyBackText(view());
    ASSERT_FALSE(cover_->backText().isNull());
    EXPECT_TRUE(cover_->backPicture().image().convertToFormat(QImage::Format_RGB32) ==
                BackText::picture(view(), ProductName));
    QImage onCanvas = cover_->canvas().copy(Layout::BackRect);
    EXPECT_TRUE(onCanvas == BackText::picture(view(), ProductName));

    QImage other(552, 472, QImage::Format_RGB32);
    other.fill(Qt::yellow);
    cover_->setBackPicture(other);
    EXPECT_TRUE(cover_->backText().isNull()) << "a picture from elsewhere";

    cover_->copyBackText(view());
    cover_->loadBackPicture(QStringLiteral(SLEEVIX_BINARY_DIR "/Back.bmp"));
    EXPECT_TRUE(cover_->backText().isNull()) << "a picture read from a file";

    cover_->copyBackText(view());
    cover_->forgetPictures();
    EXPECT_TRUE(cover_->backText().isNull()) << "a new project";
}

// A project's "Back.bmp" that is the copy of its list, written and read again, is recognised;
// the same with one pixel changed is not.
TEST_F(CoverBackTextTest, ABackBmpIsTheListsCopyOnlyPixelForPixel) {
    cover_->copyBackText(view());
    const QString folder = root_ + QStringLiteral("/Velmora/");
    Project::writeFiles(folder, QByteArray("{\\rtf1 x}"), cover_->backPicture(),
                        cover_->frontPicture());

    Cover read(*ws_);
    read.drawTemplate();
    read.loadBackPicture(folder + Project::BackPictureFile);
    EXPECT_TRUE(read.recogniseBackText(view()));
    EXPECT_FALSE(read.backText().isNull());

    QImage edited(folder + Project::BackPictureFile);
    ASSERT_FALSE(edited.isNull());
    edited.setPixel(300, 200, qRgb(254, 255, 255));
    ASSERT_TRUE(edited.save(folder + Project::BackPictureFile, "BMP"));
    read.loadBackPicture(folder + Project::BackPictureFile);
    EXPECT_FALSE(read.recogniseBackText(view()));
    EXPECT_TRUE(read.backText().isNull());

    QTextDocument otherList;
    otherList.setPlainText(QStringLiteral("Another list"));
    read.loadBackPicture(QStringLiteral(SLEEVIX_BINARY_DIR "/Back.bmp"));
    EXPECT_FALSE(read.recogniseBackText(BackTextView(otherList, TextArea, QPoint())));
    Cover empty(*ws_);
    EXPECT_FALSE(empty.recogniseBackText(view())) << "no back picture at all";
    EXPECT_FALSE(read.recogniseBackText(BackTextView())) << "no list";
}

} // namespace
