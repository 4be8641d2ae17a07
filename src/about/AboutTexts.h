// What the About box says and where its controls stand, without a window: the texts in the
// user's language (through the installed translations), the author's details, the links of the
// Mail and Home buttons, and the layout that the window applies when it is made.
#pragma once

#include <QString>
#include <QStringList>

namespace AboutTexts {

// The maker and the author, as the About box shows them.
inline const QString MakerName = QStringLiteral("Sleevix Software");
inline const QString AuthorName = QStringLiteral("Anna de Vries");
inline const QString AuthorFirstName = QStringLiteral("Anna");
inline const QString AuthorStreet = QStringLiteral("Keizersgracht 1");
inline const QString AuthorTown = QStringLiteral("1015 AA Amsterdam");
inline const QString AuthorMail = QStringLiteral("anna@sleevix.org");
inline const QString WebHost = QStringLiteral("www.sleevix.org");
inline const QString WebAddress = QStringLiteral("https://www.sleevix.org");

// The mail link is handed over from a buffer of 1000 characters.
inline constexpr int MaxLinkLength = 999;

// "Programma <product>, <version>" (the same word in both languages).
QString mailSubject(const QString& product, const QString& version);

// Each line followed by an encoded line break "%0D%0A"; nothing else is encoded.
QString mailBody(const QStringList& lines);

// "mailto:<address>?Subject=<subject>&Body=<body>", at most MaxLinkLength characters. A link cut
// at that length never ends in half an encoded character ("%0" or "%"): the cut goes before it.
QString mailLink(const QString& address, const QString& subject, const QString& body);

// The maker's web mail form, for when no mail program takes the mail link.
QString webMailLink(const QString& host, const QString& product, const QString& version);

// The maker's home page.
QString homeLink(const QString& host);

// The twelve lines of the prepared mail.
QStringList mailLines(const QString& product);

// The lines of the author page. Readers abroad get the country and the international form of the
// phone number.
QStringList authorLines(const QString& product);

// Texts of the window that depend on the language.
struct Texts {
    QString captionSuffix;       // after the main window's caption
    QString authorCaptionSuffix; // after the product name, on the author page
    QString okHint;
    QString purposeText;
    QString detailText;
    QString mailHint;
    QString homeHint;
    QString mailFailed; // no mail program took the link
    QString webMailNow;
    QString browserFailed;
};
Texts textsFor(const QString& product);

// The caption every paint gives the window.
QString paintCaption(const QString& product);

// Where the window's size and its bottom buttons end up after the layout at creation.
struct Layout {
    int clientWidth;
    int clientHeight;
    int homeButtonLeft;
    int okButtonLeft;
    int authorOkButtonLeft;
};
struct DesignPlaces {
    int buttonRuleLeft, buttonRuleWidth;
    int mailButtonLeft;
    int okButtonTop, okButtonWidth, okButtonHeight;
    int homeButtonWidth;
    int authorOkButtonWidth;
};
// The window is as wide as buttonRule with its left margin on both sides and reaches that margin
// below the OK button; Home mirrors Mail, both OK buttons are centred (div rounding toward zero).
Layout layoutFor(const DesignPlaces& d);

// The design places of the window's controls.
inline constexpr DesignPlaces Design{.buttonRuleLeft = 20,
                                     .buttonRuleWidth = 421,
                                     .mailButtonLeft = 32,
                                     .okButtonTop = 248,
                                     .okButtonWidth = 120,
                                     .okButtonHeight = 35,
                                     .homeButtonWidth = 120,
                                     .authorOkButtonWidth = 120};

} // namespace AboutTexts
