#include "about/AboutTexts.h"

#include <QCoreApplication>

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

QStringList mailLines(const QString& product) {
    QStringList lines;
    lines << QCoreApplication::translate("AboutTexts", "Dear %1,").arg(AuthorFirstName);
    lines << QString() << QString();
    lines << QCoreApplication::translate("AboutTexts", "On you Home Page I found the program %1.")
                 .arg(product);
    lines << QString();
    lines << QCoreApplication::translate("AboutTexts", "I want to comment on this program:");
    for (int i = 0; i < 5; ++i)
        lines << QString();
    lines << QCoreApplication::translate("AboutTexts", "Kind regards,");
    return lines;
}

QStringList authorLines(const QString& product) {
    QStringList lines;
    lines << QString();
    lines << QCoreApplication::translate("AboutTexts", "The program %1 has been written by:")
                 .arg(product);
    lines << QString() << AuthorName << AuthorStreet;
    lines << QCoreApplication::translate("AboutTexts", "%1, The Netherlands",
                                         "the author's town; readers abroad also get the country")
                 .arg(AuthorTown);
    lines << QCoreApplication::translate("AboutTexts", "+31 20 123 4567",
                                         "the author's phone number, for readers abroad with "
                                         "the country code, at home without it");
    lines << QString() << AuthorMail << WebAddress << QString();
    lines << QCoreApplication::translate("AboutTexts", "Mail or write for further information!");
    return lines;
}

Texts textsFor(const QString& product) {
    return {.captionSuffix = QCoreApplication::translate("AboutTexts", " - Information"),
            .authorCaptionSuffix = QCoreApplication::translate("AboutTexts", " - Author"),
            .okHint = QCoreApplication::translate("AboutTexts", "Back to the main window"),
            .purposeText =
                QCoreApplication::translate("AboutTexts", "%1; Create covers fo CD.").arg(product),
            .detailText = QCoreApplication::translate("AboutTexts", "Simple to use!"),
            .mailHint =
                QCoreApplication::translate("AboutTexts", "Send you remarks to the author of %1")
                    .arg(product),
            .homeHint =
                QCoreApplication::translate("AboutTexts", "Download the newest version of %1")
                    .arg(product),
            .mailFailed =
                QCoreApplication::translate("AboutTexts", "Something went wrong sending e-mail."),
            .webMailNow = QCoreApplication::translate("AboutTexts", "Webmail will be started now:"),
            .browserFailed = QCoreApplication::translate("AboutTexts", "Browser not opened.")};
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
