#include "about/AboutTexts.h"
#include "common/TestEnv.h"

#include <gtest/gtest.h>

namespace {

using namespace AboutTexts;

struct MailCase {
    bool dutch;
    QString version;
    QString link;
};

class MailLinkTest : public ::testing::TestWithParam<MailCase> {};

TEST_P(MailLinkTest, SubjectAndTwelveLinesWithEncodedLineBreaksOnly) {
    const MailCase& c = GetParam();
    testenv::useLanguage(c.dutch ? QStringLiteral("NLD") : QStringLiteral("ENU"));
    const QString link = mailLink(AuthorMail, mailSubject(QStringLiteral("Sleevix"), c.version),
                                  mailBody(mailLines(QStringLiteral("Sleevix"))));
    testenv::useLanguage(QStringLiteral("ENU"));
    EXPECT_EQ(link, c.link);
    EXPECT_EQ(link.count(QStringLiteral("%0D%0A")), 12);
    EXPECT_LE(link.size(), MaxLinkLength);
}

INSTANTIATE_TEST_SUITE_P(
    Languages, MailLinkTest,
    ::testing::Values(
        MailCase{
            false, QStringLiteral("version 1.10c"),
            QStringLiteral("mailto:anna@sleevix.org?Subject=Programma Sleevix, version 1.10c"
                           "&Body=Dear Anna,%0D%0A%0D%0A%0D%0A"
                           "On you Home Page I found the program Sleevix.%0D%0A%0D%0A"
                           "I want to comment on this program:%0D%0A"
                           "%0D%0A%0D%0A%0D%0A%0D%0A%0D%0A"
                           "Kind regards,%0D%0A")},
        MailCase{
            true, QStringLiteral("versie 1.10c"),
            QStringLiteral("mailto:anna@sleevix.org?Subject=Programma Sleevix, versie 1.10c"
                           "&Body=Beste Anna,%0D%0A%0D%0A%0D%0A"
                           "Ik vond op je Home Page het programma Sleevix.%0D%0A%0D%0A"
                           "Ik wil hierover het volgende kwijt:%0D%0A"
                           "%0D%0A%0D%0A%0D%0A%0D%0A%0D%0A"
                           "Met vriendelijke groet,%0D%0A")}));

// A body long enough to pass the limit, shifted by 0..5 characters so that the cut falls on
// every position of an encoded line break.
class MailLinkCutTest : public ::testing::TestWithParam<int> {};

TEST_P(MailLinkCutTest, LongLinkIsCutBeforeHalfAnEncodedCharacter) {
    const QStringList lines(200, QString());
    const QString body = QString(GetParam(), QLatin1Char('x')) + mailBody(lines);
    const QString link = mailLink(AuthorMail, QStringLiteral("S"), body);
    ASSERT_LE(link.size(), MaxLinkLength);
    EXPECT_GE(link.size(), MaxLinkLength - 2);
    const QString full = QStringLiteral("mailto:anna@sleevix.org?Subject=S&Body=") + body;
    EXPECT_TRUE(full.startsWith(link));
    // Every "%" in what is kept is followed by two hexadecimal digits.
    for (qsizetype i = link.indexOf('%'); i >= 0; i = link.indexOf('%', i + 1))
        EXPECT_LE(i + 3, link.size()) << "half an escape at " << i;
}

INSTANTIATE_TEST_SUITE_P(Shifts, MailLinkCutTest, ::testing::Range(0, 6));

TEST(AboutLinks, WebMailAndHomePages) {
    EXPECT_EQ(webMailLink(WebHost, QStringLiteral("Sleevix"), QStringLiteral("versie 1.10c")),
              QStringLiteral("https://www.sleevix.org/mailform_n_php.php?ProgNam=Sleevix, "
                             "versie 1.10c"));
    EXPECT_EQ(homeLink(WebHost), QStringLiteral("https://www.sleevix.org/index_n.php"));
}

TEST(AboutLayout, WindowAndBottomButtonsAfterCreation) {
    const Layout l = layoutFor(Design);
    EXPECT_EQ(l.clientWidth, 461);
    EXPECT_EQ(l.clientHeight, 303);
    EXPECT_EQ(l.homeButtonLeft, 309);
    EXPECT_EQ(l.okButtonLeft, 170);
    EXPECT_EQ(l.authorOkButtonLeft, 170);
    // An odd remainder rounds toward zero.
    DesignPlaces odd = Design;
    odd.okButtonWidth = 121;
    EXPECT_EQ(layoutFor(odd).okButtonLeft, 170);
}

TEST(AboutTexts, AuthorPageByLanguage) {
    testenv::useLanguage(QStringLiteral("NLD"));
    const QStringList nl = authorLines(QStringLiteral("Sleevix"));
    testenv::useLanguage(QStringLiteral("ENU"));
    const QStringList en = authorLines(QStringLiteral("Sleevix"));
    ASSERT_EQ(nl.size(), 12);
    ASSERT_EQ(en.size(), 12);
    EXPECT_EQ(nl[1], "Het programma Sleevix is geschreven door:");
    EXPECT_EQ(en[1], "The program Sleevix has been written by:");
    EXPECT_EQ(nl[5], "1015 AA Amsterdam");
    EXPECT_EQ(en[5], "1015 AA Amsterdam, The Netherlands");
    EXPECT_EQ(nl[6], "020 123 4567");
    EXPECT_EQ(en[6], "+31 20 123 4567");
    EXPECT_EQ(en[8], AuthorMail);
    EXPECT_EQ(en[9], WebAddress);
    EXPECT_EQ(nl[11], "Mail, bel of schrijf voor nadere informatie!");
    EXPECT_EQ(en[11], "Mail or write for further information!");
}

} // namespace
