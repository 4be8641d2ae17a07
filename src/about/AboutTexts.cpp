#include "about/AboutTexts.h"

namespace AboutTexts {

QString mailSubject(const QString& product, const QString& version) {
    return QStringLiteral("Programma ") + product + QStringLiteral(", ") + version;
}

QString mailBody(const QStringList& lines) {
    QString body;
    for (const QString& line : lines)
        body += line + QStringLiteral("%0D%0A");
    return body;
}

QString mailLink(const QString& address, const QString& subject, const QString& body) {
    QString link = QStringLiteral("mailto:") + address + QStringLiteral("?Subject=") + subject +
                   QStringLiteral("&Body=") + body;
    if (link.size() <= MaxLinkLength)
        return link;
    link.truncate(MaxLinkLength);
    // "%0D" cut to "%0" or "%" would make the mail program refuse the whole link.
    const qsizetype percent = link.lastIndexOf(QLatin1Char('%'));
    if (percent >= 0 && percent > link.size() - 3)
        link.truncate(percent);
    return link;
}

QString webMailLink(const QString& host, const QString& product, const QString& version) {
    return QStringLiteral("https://") + host + QStringLiteral("/mailform_n_php.php?ProgNam=") +
           product + QStringLiteral(", ") + version;
}

QString homeLink(const QString& host) {
    return QStringLiteral("https://") + host + QStringLiteral("/index_n.php");
}

QStringList mailLines(bool dutch, const QString& product) {
    QStringList lines;
    lines << (dutch ? QStringLiteral("Beste ") : QStringLiteral("Dear ")) + AuthorFirstName +
                 QStringLiteral(",");
    lines << QString() << QString();
    lines << (dutch ? QStringLiteral("Ik vond op je Home Page het programma ")
                    : QStringLiteral("On you Home Page I found the program ")) +
                 product + QStringLiteral(".");
    lines << QString();
    lines << (dutch ? QStringLiteral("Ik wil hierover het volgende kwijt:")
                    : QStringLiteral("I want to comment on this program:"));
    for (int i = 0; i < 5; ++i)
        lines << QString();
    lines << (dutch ? QStringLiteral("Met vriendelijke groet,") : QStringLiteral("Kind regards,"));
    return lines;
}

QStringList authorLines(bool dutch, const QString& product) {
    QStringList lines;
    lines << QString();
    lines << (dutch ? QStringLiteral("Het programma ") + product +
                          QStringLiteral(" is geschreven door:")
                    : QStringLiteral("The program ") + product +
                          QStringLiteral(" has been written by:"));
    lines << QString() << AuthorName << AuthorStreet;
    lines << (dutch ? AuthorTown : AuthorTown + QStringLiteral(", ") + AuthorCountry);
    lines << (dutch ? AuthorPhone : AuthorPhoneInternational);
    lines << QString() << AuthorMail << WebAddress << QString();
    lines << (dutch ? QStringLiteral("Mail, bel of schrijf voor nadere informatie!")
                    : QStringLiteral("Mail or write for further information!"));
    return lines;
}

Texts textsFor(bool dutch, const QString& product) {
    if (dutch)
        return {.captionSuffix = QStringLiteral(" - Informatie"),
                .authorCaptionSuffix = QStringLiteral(" - Auteur"),
                .okHint = QStringLiteral("Terug naar het beginvenster"),
                .purposeText = product + QStringLiteral("; Maak uw eigen covers voor CD."),
                .detailText = QStringLiteral("Eenvoudig in gebruik."),
                .mailHint = QStringLiteral("Stuur uw opmerkingen naar de auteur van ") + product,
                .homeHint = QStringLiteral("Download de nieuwste versie van ") + product,
                .mailFailed =
                    QStringLiteral("Er is iets fout gegaan bij het versturen van de e-mail."),
                .webMailNow = QStringLiteral("Webmail wordt nu gestart:"),
                .browserFailed = QStringLiteral("Browser niet geopend.")};
    return {.captionSuffix = QStringLiteral(" - Information"),
            .authorCaptionSuffix = QStringLiteral(" - Author"),
            .okHint = QStringLiteral("Back to the main window"),
            .purposeText = product + QStringLiteral("; Create covers fo CD."),
            .detailText = QStringLiteral("Simple to use!"),
            .mailHint = QStringLiteral("Send you remarks to the author of ") + product,
            .homeHint = QStringLiteral("Download the newest version of ") + product,
            .mailFailed = QStringLiteral("Something went wrong sending e-mail."),
            .webMailNow = QStringLiteral("Webmail will be started now:"),
            .browserFailed = QStringLiteral("Browser not opened.")};
}

QString paintCaption(const QString& product) {
    return product + QStringLiteral(" - Over...");
}

Layout layoutFor(const DesignPlaces& d) {
    Layout l{};
    l.clientWidth = d.buttonRuleWidth + 2 * d.buttonRuleLeft;
    l.clientHeight = d.okButtonTop + d.okButtonHeight + d.buttonRuleLeft;
    l.homeButtonLeft = l.clientWidth - d.homeButtonWidth - d.mailButtonLeft;
    l.okButtonLeft = (l.clientWidth - d.okButtonWidth) / 2;
    l.authorOkButtonLeft = (l.clientWidth - d.authorOkButtonWidth) / 2;
    return l;
}

} // namespace AboutTexts
