// Helpers shared by the RTF tests: reading into a document, a readable account of a document's
// paragraphs and formatting runs, and devices that fail or trickle.
#pragma once

#include "rtf/RtfReader.h"
#include "rtf/TabStops.h"

#include <QBuffer>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <memory>

namespace rtftest {

inline std::unique_ptr<QTextDocument> read(const QByteArray& rtf) {
    auto doc = std::make_unique<QTextDocument>();
    RtfReader::read(rtf, doc.get());
    return doc;
}

// The paragraphs' texts joined by "\n", with no-break spaces and line separators kept.
inline QString text(const QTextDocument& doc) {
    QStringList lines;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        lines << b.text();
    return lines.join(u'\n');
}

inline QString num(double v) {
    return QString::number(v, 'f', 1);
}

// One line per paragraph: its format, then each run as [text]{format}. Only what RTF carries.
inline QString describe(const QTextDocument& doc) {
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        QString line;
        const Qt::Alignment a = bf.alignment();
        line += (a & Qt::AlignJustify)   ? "justify"
                : (a & Qt::AlignHCenter) ? "center"
                : (a & Qt::AlignRight)   ? "right"
                                         : "left";
        if (bf.leftMargin())
            line += " li=" + num(bf.leftMargin());
        if (bf.rightMargin())
            line += " ri=" + num(bf.rightMargin());
        if (bf.textIndent())
            line += " fi=" + num(bf.textIndent());
        if (bf.topMargin())
            line += " sb=" + num(bf.topMargin());
        if (bf.bottomMargin())
            line += " sa=" + num(bf.bottomMargin());
        if (bf.lineHeightType() != QTextBlockFormat::SingleHeight)
            line += QStringLiteral(" sl=%1/%2").arg(num(bf.lineHeight())).arg(bf.lineHeightType());
        for (const QTextOption::Tab& t : bf.tabPositions())
            line += QStringLiteral(" tab=%1/%2%3")
                        .arg(num(t.position))
                        .arg(int(t.type))
                        .arg(TabStops::hasDotLeader(t) ? "..." : "");
        line += ":";
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat cf = f.charFormat();
            QStringList props;
            if (cf.isImageFormat()) {
                const QTextImageFormat img = cf.toImageFormat();
                props << QStringLiteral("image %1x%2").arg(num(img.width()), num(img.height()));
            } else {
                const QStringList families = cf.fontFamilies().toStringList();
                if (!families.isEmpty())
                    props << families.first();
                if (cf.hasProperty(QTextFormat::FontPointSize))
                    props << num(cf.fontPointSize()) + "pt";
                if (cf.fontWeight() >= QFont::DemiBold)
                    props << "b";
                if (cf.fontItalic())
                    props << "i";
                if (cf.underlineStyle() != QTextCharFormat::NoUnderline)
                    props << QStringLiteral("u%1").arg(int(cf.underlineStyle()));
                if (cf.fontStrikeOut())
                    props << "s";
                if (cf.verticalAlignment() == QTextCharFormat::AlignSuperScript)
                    props << "super";
                if (cf.verticalAlignment() == QTextCharFormat::AlignSubScript)
                    props << "sub";
                if (cf.hasProperty(QTextFormat::ForegroundBrush))
                    props << "fg" + cf.foreground().color().name();
                if (cf.hasProperty(QTextFormat::BackgroundBrush))
                    props << "bg" + cf.background().color().name();
            }
            line += QStringLiteral(" [%1]{%2}").arg(f.text(), props.join(','));
        }
        out << line;
    }
    return out.join(u'\n');
}

// A buffer that takes or gives only so many bytes, then fails: every error path of a codec.
class FailDevice : public QBuffer {
public:
    explicit FailDevice(qint64 failAfter) : failAfter_(failAfter) {}
    explicit FailDevice(const QByteArray& data, qint64 failAfter) : failAfter_(failAfter) {
        setData(data);
    }

protected:
    qint64 writeData(const char* data, qint64 len) override {
        if (done_ + len > failAfter_) {
            const qint64 n = failAfter_ - done_;
            if (n > 0)
                QBuffer::writeData(data, n);
            done_ = failAfter_;
            return n > 0 ? n : -1;
        }
        done_ += len;
        return QBuffer::writeData(data, len);
    }
    qint64 readData(char* data, qint64 maxlen) override {
        if (done_ >= failAfter_)
            return -1;
        const qint64 n = QBuffer::readData(data, std::min(maxlen, failAfter_ - done_));
        done_ += std::max<qint64>(n, 0);
        return n;
    }

private:
    qint64 failAfter_;
    qint64 done_ = 0;
};

// A buffer that gives at most a few bytes a read, so that tokens are split across blocks.
class TrickleDevice : public QBuffer {
public:
    TrickleDevice(const QByteArray& data, qint64 step) : step_(step) { setData(data); }

protected:
    qint64 readData(char* data, qint64 maxlen) override {
        return QBuffer::readData(data, std::min(maxlen, step_));
    }

private:
    qint64 step_;
};

} // namespace rtftest
