#include "rtf/RtfReader.h"

#include "rtf/RtfCodePages.h"

#include <QColor>
#include <QHash>
#include <QIODevice>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QUrl>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

const QString LoadFailed = QStringLiteral("Failed to Load Stream");

constexpr double TwipsPerPixel = 15.0; // 1440 twips an inch, 96 pixels an inch
// Tables of a hostile file must not grow without end.
constexpr qsizetype MaxFonts = 4096;
constexpr qsizetype MaxColors = 4096;

// ---------------------------------------------------------------------------------------------
// Bytes, from an array or from a device read in blocks.

class Source {
public:
    explicit Source(const QByteArray& bytes)
        : data_(reinterpret_cast<const uchar*>(bytes.constData())), len_(bytes.size()) {}
    explicit Source(QIODevice* device) : device_(device) { storage_.resize(BlockSize); }

    int get() {
        if (pos_ < len_ || fill(1))
            return data_[pos_++];
        return -1;
    }
    int peek(qsizetype ahead = 0) {
        if (pos_ + ahead < len_ || fill(ahead + 1))
            return data_[pos_ + ahead];
        return -1;
    }
    void unget() { --pos_; } // only right after get()

    // The bytes available without reading the device again (at least one unless at the end).
    qsizetype available() {
        if (pos_ >= len_)
            fill(1);
        return len_ - pos_;
    }
    const uchar* current() const { return data_ + pos_; }
    void advance(qsizetype n) { pos_ += n; }

private:
    static constexpr qsizetype BlockSize = 64 * 1024;

    // Keeps the unread bytes and reads more until `need` are there or the device is done.
    bool fill(qsizetype need) {
        if (!device_ || ended_)
            return len_ - pos_ >= need;
        char* base = storage_.data();
        const qsizetype keep = len_ - pos_;
        if (keep > 0 && pos_ > 0)
            memmove(base, base + pos_, size_t(keep));
        pos_ = 0;
        len_ = keep;
        while (len_ < need && !ended_) {
            const qint64 n = device_->read(base + len_, BlockSize - len_);
            if (n < 0)
                throw AppError(LoadFailed);
            if (n == 0)
                ended_ = true;
            len_ += qsizetype(n);
        }
        data_ = reinterpret_cast<const uchar*>(base);
        return len_ >= need;
    }

    QIODevice* device_ = nullptr;
    QByteArray storage_;
    const uchar* data_ = nullptr;
    qsizetype pos_ = 0;
    qsizetype len_ = 0;
    bool ended_ = false;
};

// ---------------------------------------------------------------------------------------------
// Group state.

enum class Dest : quint8 { Text, Skip, FontTable, ColorTable, Pict, UprSkip };

struct CharState {
    int font = -1; // RTF font number; -1 for the document's default font (\deff)
    int size = 24; // half points
    int fg = -1;   // colour table index; -1 automatic
    int bg = -1;   // colour table index; -1 none
    quint8 underline = QTextCharFormat::NoUnderline;
    quint8 vertical = QTextCharFormat::AlignNormal;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    // East Asian characters take the font and size given with \af and \afs after \dbch.
    quint8 mode = 0; // 0 \loch, 1 \hich, 2 \dbch
    int dbFont = -1;
    int dbSize = 0;
    bool operator==(const CharState&) const = default;

    // The formatting a character actually shows with.
    CharState shown(bool eastAsian) const {
        CharState s = *this;
        if (eastAsian && dbFont >= 0)
            s.font = dbFont;
        if (eastAsian && dbSize > 0)
            s.size = dbSize;
        s.mode = 0;
        s.dbFont = -1;
        s.dbSize = 0;
        return s;
    }
};

// Characters Word and LibreOffice give the double-byte (East Asian) font.
bool isEastAsian(char16_t c) {
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0x9FFF) ||
           (c >= 0xA000 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

struct ParaState {
    int align = 0; // 0 left, 1 centre, 2 right, 3 justify
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0, sl = 0;
    bool slMult = false;
    QList<QTextOption::Tab> tabs;
};

struct Group {
    Dest dest = Dest::Text;
    Dest uprOuter = Dest::Text;
    bool star = false; // "\*" seen: the next control word decides whether the group is known
    int uc = 1;
    const RtfCodePage* codePage = nullptr;
    CharState ch;
    ParaState para;
};

struct Font {
    QString name;
    int codePage = 0; // 0: the document's
    bool nameDone = false;
};

struct Picture {
    QByteArray data;
    int format = 0; // 0 unknown, 1 PNG, 2 JPEG
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100;
    int nibble = -1;
    bool tooBig = false;
    bool active = false;
    int depth = 0;
};

// ---------------------------------------------------------------------------------------------
// Control words.

enum class Kw {
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    DefTab,
    Uc,
    U,
    // destinations
    FontTable,
    ColorTable,
    Pict,
    Skip,
    Transparent,
    Upr,
    Ud,
    // font and colour tables
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // character formatting
    Plain,
    B,
    I,
    Ul,
    UlNone,
    UlDot,
    UlDash,
    UlWave,
    Strike,
    Hidden,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    Loch,
    Hich,
    Dbch,
    Af,
    Afs,
    Fs,
    Cf,
    Cb,
    Highlight,
    // paragraphs
    Pard,
    Par,
    Line,
    Tab,
    Cell,
    Ql,
    Qc,
    Qr,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Sl,
    SlMult,
    Tx,
    Tqr,
    Tqc,
    Tqdec,
    // characters
    Emdash,
    Endash,
    Bullet,
    Lquote,
    Rquote,
    Ldblquote,
    Rdblquote,
    Emspace,
    Enspace,
    Qmspace,
    Zwj,
    Zwnj,
    Ltrmark,
    Rtlmark,
    // pictures
    PngBlip,
    JpegBlip,
    OtherBlip,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    Bin,
};

const std::unordered_map<std::string_view, Kw>& keywords() {
    static const std::unordered_map<std::string_view, Kw> table = {
        {"ansi", Kw::Ansi},
        {"mac", Kw::Mac},
        {"pc", Kw::Pc},
        {"pca", Kw::Pca},
        {"ansicpg", Kw::AnsiCpg},
        {"deff", Kw::Deff},
        {"deftab", Kw::DefTab},
        {"uc", Kw::Uc},
        {"u", Kw::U},
        {"fonttbl", Kw::FontTable},
        {"colortbl", Kw::ColorTable},
        {"pict", Kw::Pict},
        {"upr", Kw::Upr},
        {"ud", Kw::Ud},
        // Destinations whose text is not part of the document.
        {"stylesheet", Kw::Skip},
        {"info", Kw::Skip},
        {"header", Kw::Skip},
        {"headerl", Kw::Skip},
        {"headerr", Kw::Skip},
        {"headerf", Kw::Skip},
        {"footer", Kw::Skip},
        {"footerl", Kw::Skip},
        {"footerr", Kw::Skip},
        {"footerf", Kw::Skip},
        {"footnote", Kw::Skip},
        {"annotation", Kw::Skip},
        {"ftnsep", Kw::Skip},
        {"ftnsepc", Kw::Skip},
        {"ftncn", Kw::Skip},
        {"aftnsep", Kw::Skip},
        {"aftnsepc", Kw::Skip},
        {"aftncn", Kw::Skip},
        {"pn", Kw::Skip},
        {"pntxta", Kw::Skip},
        {"pntxtb", Kw::Skip},
        {"listtable", Kw::Skip},
        {"listoverridetable", Kw::Skip},
        {"revtbl", Kw::Skip},
        {"rsidtbl", Kw::Skip},
        {"xmlnstbl", Kw::Skip},
        {"themedata", Kw::Skip},
        {"colorschememapping", Kw::Skip},
        {"latentstyles", Kw::Skip},
        {"datastore", Kw::Skip},
        {"fldinst", Kw::Skip},
        {"objdata", Kw::Skip},
        {"objclass", Kw::Skip},
        {"objname", Kw::Skip},
        {"nonshppict", Kw::Skip},
        {"picprop", Kw::Skip},
        {"template", Kw::Skip},
        {"docvar", Kw::Skip},
        {"userprops", Kw::Skip},
        {"filetbl", Kw::Skip},
        {"txe", Kw::Skip},
        {"xe", Kw::Skip},
        {"tc", Kw::Skip},
        {"tcn", Kw::Skip},
        {"bkmkstart", Kw::Skip},
        {"bkmkend", Kw::Skip},
        {"falt", Kw::Skip},
        {"panose", Kw::Skip},
        {"fname", Kw::Skip},
        {"generator", Kw::Skip},
        {"author", Kw::Skip},
        {"operator", Kw::Skip},
        {"title", Kw::Skip},
        {"subject", Kw::Skip},
        {"keywords", Kw::Skip},
        {"comment", Kw::Skip},
        {"doccomm", Kw::Skip},
        {"company", Kw::Skip},
        {"atnid", Kw::Skip},
        {"atnauthor", Kw::Skip},
        {"atndate", Kw::Skip},
        {"atnref", Kw::Skip},
        {"sp", Kw::Skip},
        {"sn", Kw::Skip},
        {"sv", Kw::Skip},
        {"pgdsctbl", Kw::Skip},
        {"mmathPr", Kw::Skip},
        {"protusertbl", Kw::Skip},
        // Groups whose text is the document's: understood even behind "\*".
        {"field", Kw::Transparent},
        {"fldrslt", Kw::Transparent},
        {"object", Kw::Transparent},
        {"result", Kw::Transparent},
        {"shppict", Kw::Transparent},
        {"listtext", Kw::Transparent},
        {"pntext", Kw::Transparent},
        {"f", Kw::F},
        {"fcharset", Kw::FCharset},
        {"cpg", Kw::Cpg},
        {"red", Kw::Red},
        {"green", Kw::Green},
        {"blue", Kw::Blue},
        {"plain", Kw::Plain},
        {"b", Kw::B},
        {"i", Kw::I},
        {"ul", Kw::Ul},
        {"ulnone", Kw::UlNone},
        {"uld", Kw::UlDot},
        {"uldash", Kw::UlDash},
        {"uldashd", Kw::UlDash},
        {"uldashdd", Kw::UlDash},
        {"ulwave", Kw::UlWave},
        {"ulhwave", Kw::UlWave},
        {"ululdbwave", Kw::UlWave},
        {"uldb", Kw::Ul},
        {"ulth", Kw::Ul},
        {"ulw", Kw::Ul},
        {"strike", Kw::Strike},
        {"striked", Kw::Strike},
        {"v", Kw::Hidden},
        {"super", Kw::Super},
        {"sub", Kw::Sub},
        {"nosupersub", Kw::NoSuperSub},
        {"up", Kw::Up},
        {"dn", Kw::Dn},
        {"loch", Kw::Loch},
        {"hich", Kw::Hich},
        {"dbch", Kw::Dbch},
        {"af", Kw::Af},
        {"afs", Kw::Afs},
        {"fs", Kw::Fs},
        {"cf", Kw::Cf},
        {"cb", Kw::Cb},
        {"chcbpat", Kw::Cb},
        {"highlight", Kw::Highlight},
        {"pard", Kw::Pard},
        {"par", Kw::Par},
        {"sect", Kw::Par},
        {"page", Kw::Par},
        {"row", Kw::Par},
        {"line", Kw::Line},
        {"tab", Kw::Tab},
        {"cell", Kw::Cell},
        {"nestcell", Kw::Cell},
        {"ql", Kw::Ql},
        {"qc", Kw::Qc},
        {"qr", Kw::Qr},
        {"qj", Kw::Qj},
        {"qd", Kw::Qj},
        {"li", Kw::Li},
        {"lin", Kw::Li},
        {"ri", Kw::Ri},
        {"rin", Kw::Ri},
        {"fi", Kw::Fi},
        {"sb", Kw::Sb},
        {"sa", Kw::Sa},
        {"sl", Kw::Sl},
        {"slmult", Kw::SlMult},
        {"tx", Kw::Tx},
        {"tqr", Kw::Tqr},
        {"tqc", Kw::Tqc},
        {"tqdec", Kw::Tqdec},
        {"emdash", Kw::Emdash},
        {"endash", Kw::Endash},
        {"bullet", Kw::Bullet},
        {"lquote", Kw::Lquote},
        {"rquote", Kw::Rquote},
        {"ldblquote", Kw::Ldblquote},
        {"rdblquote", Kw::Rdblquote},
        {"emspace", Kw::Emspace},
        {"enspace", Kw::Enspace},
        {"qmspace", Kw::Qmspace},
        {"zwj", Kw::Zwj},
        {"zwnj", Kw::Zwnj},
        {"ltrmark", Kw::Ltrmark},
        {"rtlmark", Kw::Rtlmark},
        {"pngblip", Kw::PngBlip},
        {"jpegblip", Kw::JpegBlip},
        {"emfblip", Kw::OtherBlip},
        {"wmetafile", Kw::OtherBlip},
        {"macpict", Kw::OtherBlip},
        {"dibitmap", Kw::OtherBlip},
        {"wbitmap", Kw::OtherBlip},
        {"pmmetafile", Kw::OtherBlip},
        {"picw", Kw::PicW},
        {"pich", Kw::PicH},
        {"picwgoal", Kw::PicWGoal},
        {"pichgoal", Kw::PicHGoal},
        {"picscalex", Kw::PicScaleX},
        {"picscaley", Kw::PicScaleY},
        {"bin", Kw::Bin},
    };
    return table;
}

int hexValue(int c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// ---------------------------------------------------------------------------------------------

class Parser {
public:
    Parser(Source& source, QTextDocument* document) : src_(source), doc_(document) {}

    void run();

private:
    Group& top() { return stack_.back(); }

    // tokens
    void controlWord();
    void controlSymbol(int c);
    void textByte(uchar b);
    void plainTextSpan();
    void skipSpan();
    void openGroup();
    void closeGroup();

    // output
    void byteOut(uchar b);
    void flushBytes();
    void put(QStringView s);
    void put(QChar c) { put(QStringView(&c, 1)); }
    void putUnicode(int value);
    void flushRun();
    void ensureBlock();
    void paragraph();
    void finishDocument();
    QTextCharFormat charFormat(const CharState& ch);
    QTextBlockFormat blockFormat(const ParaState& para) const;

    // tables and pictures
    void finishFontName();
    void finishColor();
    void finishPicture();
    void skipBinary(qint64 n);
    const RtfCodePage* codePageOfFont(int font) const;

    Source& src_;
    QTextDocument* doc_;
    QTextCursor cursor_;
    std::vector<Group> stack_;
    int overflow_ = 0;    // groups opened beyond MaxGroupDepth
    int pendingSkip_ = 0; // fallback characters still to skip after \uN
    int highSurrogate_ = 0;
    bool ended_ = false;

    int docCodePage_ = 1252;
    int defaultFont_ = 0; // \deff; font 0 when the document names none
    QHash<int, Font> fonts_;
    int fontEntry_ = -1;
    QList<QColor> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorSet_ = false;
    int pendingTabKind_ = QTextOption::LeftTab;

    QByteArray pendingBytes_;
    const RtfCodePage* pendingCodePage_ = nullptr;
    bool awaitingTrail_ = false;

    QString run_;
    CharState runState_;
    bool breakPending_ = false;
    bool lastCharState_ = false;
    CharState cachedState_;
    QTextCharFormat cachedFormat_;

    Picture pict_;
    int imageCount_ = 0;
};

void Parser::run() {
    stack_.reserve(64);
    cursor_ = QTextCursor(doc_);
    cursor_.beginEditBlock(); // one layout pass at the end instead of one per insertion
    // The block must be ended whatever happens, or the document never lays itself out again.
    struct EndEditBlock {
        QTextCursor& cursor;
        ~EndEditBlock() { cursor.endEditBlock(); }
    } endEditBlock{cursor_};
    // The opening brace was checked by the caller; read it as a group.
    while (!ended_) {
        const int c = src_.get();
        if (c < 0)
            break;
        switch (c) {
        case '{':
            flushBytes();
            openGroup();
            break;
        case '}':
            flushBytes();
            closeGroup();
            break;
        case '\\':
            controlWord();
            break;
        case '\r':
        case '\n':
            break;
        default:
            if (stack_.empty())
                break; // bytes before the first group
            if (top().star) {
                top().star = false; // "\*" before text: not a destination anyone knows
                top().dest = Dest::Skip;
            }
            if (top().dest == Dest::Skip || top().dest == Dest::UprSkip) {
                skipSpan();
                break;
            }
            if (top().dest == Dest::Text && pendingSkip_ == 0 && c >= 0x20 && c < 0x80 &&
                !awaitingTrail_) {
                src_.unget();
                plainTextSpan();
            } else {
                textByte(uchar(c));
            }
        }
    }
    finishDocument();
}

// Text of a group whose content is not shown: jump to the next brace or backslash.
void Parser::skipSpan() {
    const qsizetype n = src_.available();
    const uchar* p = src_.current();
    qsizetype i = 0;
    while (i < n && p[i] != '\\' && p[i] != '{' && p[i] != '}')
        ++i;
    src_.advance(i);
}

// The hot path: a stretch of ordinary ASCII text in the document.
void Parser::plainTextSpan() {
    flushBytes();
    const qsizetype n = src_.available();
    const uchar* p = src_.current();
    qsizetype i = 0;
    while (i < n) {
        const uchar c = p[i];
        if (c == '\\' || c == '{' || c == '}' || c < 0x20 || c >= 0x80)
            break;
        ++i;
    }
    if (i > 0) {
        const QString text = QString::fromLatin1(reinterpret_cast<const char*>(p), i);
        src_.advance(i);
        put(text);
    }
}

void Parser::openGroup() {
    if (stack_.empty()) {
        stack_.emplace_back();
        stack_.back().codePage = &RtfCodePage::get(docCodePage_);
        return;
    }
    pendingSkip_ = 0;
    if (top().star) {
        top().star = false;
        top().dest = Dest::Skip;
    }
    if (int(stack_.size()) >= RtfReader::MaxGroupDepth) {
        ++overflow_;
        return;
    }
    Group child = top();
    child.star = false;
    if (child.dest == Dest::ColorTable)
        child.dest = Dest::Skip;
    stack_.push_back(std::move(child));
}

void Parser::closeGroup() {
    pendingSkip_ = 0;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.empty())
        return;
    const Group& closing = top();
    if (closing.dest == Dest::FontTable && fontEntry_ >= 0 && stack_.size() >= 2 &&
        stack_[stack_.size() - 2].dest == Dest::FontTable)
        finishFontName(); // end of one {\fN …} entry
    if (closing.dest == Dest::ColorTable && colorSet_)
        finishColor();
    const bool endsPicture = pict_.active && int(stack_.size()) == pict_.depth;
    if (stack_.size() == 1) {
        ended_ = true; // the document's closing brace; what follows it is not read
        return;
    }
    const bool leavingFontTable =
        closing.dest == Dest::FontTable && stack_[stack_.size() - 2].dest != Dest::FontTable;
    stack_.pop_back();
    if (endsPicture)
        finishPicture();
    if (leavingFontTable)
        finishFontName();
    if (!stack_.empty() && top().dest == Dest::Text)
        top().codePage = codePageOfFont(top().ch.font);
}

const RtfCodePage* Parser::codePageOfFont(int font) const {
    auto it = fonts_.constFind(font < 0 ? defaultFont_ : font);
    const int cp = (it != fonts_.constEnd() && it->codePage > 0) ? it->codePage : docCodePage_;
    return &RtfCodePage::get(cp);
}

void Parser::controlSymbol(int c) {
    Group& g = top();
    if (c == '*') {
        g.star = true;
        return;
    }
    if (c == '\'') {
        const int h = hexValue(src_.peek());
        const int l = h < 0 ? -1 : hexValue(src_.peek(1));
        if (h < 0 || l < 0) {
            if (h >= 0)
                src_.advance(1); // a broken escape is dropped
            return;
        }
        src_.advance(2);
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (g.dest == Dest::Text || g.dest == Dest::FontTable)
            byteOut(uchar(h * 16 + l));
        return;
    }
    flushBytes();
    if (pendingSkip_ > 0) {
        --pendingSkip_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        textByte(uchar(c)); // escaped, so never a brace or a control word
        return;
    case '~':
        put(QChar(0x00A0));
        return;
    case '-':
        put(QChar(0x00AD));
        return;
    case '_':
        put(QChar(0x2011));
        return;
    case '\r':
    case '\n':
        if (g.dest == Dest::Text)
            paragraph();
        return;
    case '\t':
        put(QChar(u'\t'));
        return;
    default:
        return; // \: \| and other symbols have no text
    }
}

void Parser::controlWord() {
    const int first = src_.get();
    if (first < 0)
        return;
    if (!isLetter(first)) {
        if (stack_.empty())
            return;
        if (top().dest == Dest::Skip && first != '\'') {
            return;
        }
        controlSymbol(first);
        return;
    }
    char name[33];
    int len = 0;
    name[len++] = char(first);
    bool tooLong = false;
    for (int c = src_.peek(); isLetter(c); c = src_.peek()) {
        src_.advance(1);
        if (len < 32)
            name[len++] = char(c);
        else
            tooLong = true;
    }
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    int c = src_.peek();
    if (c == '-' && isDigit(src_.peek(1))) {
        negative = true;
        src_.advance(1);
        c = src_.peek();
    }
    while (isDigit(c)) {
        hasParam = true;
        if (value < 100000000000LL)
            value = value * 10 + (c - '0');
        src_.advance(1);
        c = src_.peek();
    }
    if (c == ' ')
        src_.advance(1);
    if (negative)
        value = -value;
    const int param = int(std::clamp<qint64>(value, -2147483647LL, 2147483647LL));
    if (stack_.empty())
        return;

    const std::string_view word(name, size_t(len));
    Group& g = top();
    if (g.dest == Dest::Skip && word != "bin")
        return;
    const auto& table = keywords();
    const auto it = tooLong ? table.end() : table.find(word);

    // \bin is honoured everywhere, or its data would be read as RTF.
    if (it != table.end() && it->second == Kw::Bin) {
        flushBytes();
        if (pendingSkip_ > 0)
            --pendingSkip_;
        skipBinary(hasParam ? param : 0);
        return;
    }
    if (g.dest == Dest::Skip)
        return;
    if (g.dest == Dest::UprSkip) {
        if (it != table.end() && it->second == Kw::Ud && g.star)
            g.dest = g.uprOuter;
        else
            g.dest = Dest::Skip;
        g.star = false;
        return;
    }
    const bool star = g.star;
    g.star = false;
    if (it == table.end()) {
        if (star)
            g.dest = Dest::Skip; // an ignorable destination this reader does not know
        else if (pendingSkip_ > 0)
            --pendingSkip_;
        return;
    }
    const Kw kw = it->second;
    if (kw != Kw::U)
        flushBytes();
    if (pendingSkip_ > 0 && kw != Kw::Uc) {
        --pendingSkip_;
        return;
    }
    const bool on = !hasParam || param != 0;
    CharState& ch = g.ch;
    ParaState& para = g.para;
    switch (kw) {
    case Kw::Ansi:
        docCodePage_ = 1252;
        break;
    case Kw::Mac:
        docCodePage_ = 10000;
        break;
    case Kw::Pc:
        docCodePage_ = 437;
        break;
    case Kw::Pca:
        docCodePage_ = 850;
        break;
    case Kw::AnsiCpg:
        if (hasParam)
            docCodePage_ = RtfCodePage::get(param).number();
        g.codePage = codePageOfFont(ch.font);
        break;
    case Kw::Deff:
        defaultFont_ = param;
        g.codePage = codePageOfFont(ch.font);
        break;
    case Kw::DefTab:
        if (param > 0 && param < 1440 * 22) {
            QTextOption option = doc_->defaultTextOption();
            option.setTabStopDistance(param / TwipsPerPixel);
            doc_->setDefaultTextOption(option);
        }
        break;
    case Kw::Uc:
        if (hasParam && param >= 0 && param <= 10)
            g.uc = param;
        break;
    case Kw::U:
        if (!hasParam)
            break;
        flushBytes();
        putUnicode(param);
        pendingSkip_ = g.uc;
        break;
    case Kw::FontTable:
        g.dest = Dest::FontTable;
        fontEntry_ = -1;
        break;
    case Kw::ColorTable:
        g.dest = Dest::ColorTable;
        colors_.clear();
        colorSet_ = false;
        break;
    case Kw::Pict:
        if (g.dest != Dest::Text) {
            g.dest = Dest::Skip;
            break;
        }
        flushRun();
        pict_ = Picture();
        pict_.active = true;
        pict_.depth = int(stack_.size());
        g.dest = Dest::Pict;
        break;
    case Kw::Skip:
        g.dest = Dest::Skip;
        break;
    case Kw::Transparent:
        break;
    case Kw::Upr:
        g.uprOuter = g.dest;
        g.dest = Dest::UprSkip;
        break;
    case Kw::Ud:
        break;
    case Kw::F:
        if (g.dest == Dest::FontTable) {
            finishFontName();
            if (fonts_.size() >= MaxFonts && !fonts_.contains(param))
                break;
            fontEntry_ = param;
            fonts_[param] = Font();
            g.codePage = &RtfCodePage::get(docCodePage_);
        } else {
            ch.font = param;
            g.codePage = codePageOfFont(param);
        }
        break;
    case Kw::FCharset:
        if (g.dest == Dest::FontTable && fontEntry_ >= 0) {
            const int cp = RtfCodePage::forCharset(param);
            fonts_[fontEntry_].codePage = cp;
            g.codePage = &RtfCodePage::get(cp > 0 ? cp : docCodePage_);
        }
        break;
    case Kw::Cpg:
        if (g.dest == Dest::FontTable && fontEntry_ >= 0 && hasParam) {
            const int cp = RtfCodePage::get(param).number();
            fonts_[fontEntry_].codePage = cp;
            g.codePage = &RtfCodePage::get(cp);
        }
        break;
    case Kw::Red:
        red_ = std::clamp(param, 0, 255);
        colorSet_ = true;
        break;
    case Kw::Green:
        green_ = std::clamp(param, 0, 255);
        colorSet_ = true;
        break;
    case Kw::Blue:
        blue_ = std::clamp(param, 0, 255);
        colorSet_ = true;
        break;
    case Kw::Plain:
        ch = CharState();
        g.codePage = codePageOfFont(ch.font);
        break;
    case Kw::B:
        ch.bold = on;
        break;
    case Kw::I:
        ch.italic = on;
        break;
    case Kw::Ul:
        ch.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        break;
    case Kw::UlNone:
        ch.underline = QTextCharFormat::NoUnderline;
        break;
    case Kw::UlDot:
        ch.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        break;
    case Kw::UlDash:
        ch.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        break;
    case Kw::UlWave:
        ch.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        break;
    case Kw::Strike:
        ch.strike = on;
        break;
    case Kw::Hidden:
        ch.hidden = on;
        break;
    case Kw::Super:
        ch.vertical = QTextCharFormat::AlignSuperScript;
        break;
    case Kw::Sub:
        ch.vertical = QTextCharFormat::AlignSubScript;
        break;
    case Kw::NoSuperSub:
        ch.vertical = QTextCharFormat::AlignNormal;
        break;
    case Kw::Up:
        ch.vertical = param == 0 && hasParam ? QTextCharFormat::AlignNormal
                                             : QTextCharFormat::AlignSuperScript;
        break;
    case Kw::Dn:
        ch.vertical =
            param == 0 && hasParam ? QTextCharFormat::AlignNormal : QTextCharFormat::AlignSubScript;
        break;
    case Kw::Loch:
        ch.mode = 0;
        break;
    case Kw::Hich:
        ch.mode = 1;
        break;
    case Kw::Dbch:
        ch.mode = 2;
        break;
    case Kw::Af:
        if (ch.mode == 2 && hasParam)
            ch.dbFont = param;
        break;
    case Kw::Afs:
        if (ch.mode == 2 && hasParam && param > 0 && param <= 3276)
            ch.dbSize = param;
        break;
    case Kw::Fs:
        ch.size = (hasParam && param > 0 && param <= 3276) ? param : 24;
        break;
    case Kw::Cf:
        ch.fg = (hasParam && param >= 0) ? param : -1;
        break;
    case Kw::Cb:
    case Kw::Highlight:
        ch.bg = (hasParam && param > 0) ? param : -1;
        break;
    case Kw::Pard:
        para = ParaState();
        pendingTabKind_ = QTextOption::LeftTab;
        break;
    case Kw::Par:
        if (g.dest == Dest::Text)
            paragraph();
        break;
    case Kw::Line:
        put(QChar(QChar::LineSeparator));
        break;
    case Kw::Tab:
    case Kw::Cell:
        put(QChar(u'\t'));
        break;
    case Kw::Ql:
        para.align = 0;
        break;
    case Kw::Qc:
        para.align = 1;
        break;
    case Kw::Qr:
        para.align = 2;
        break;
    case Kw::Qj:
        para.align = 3;
        break;
    case Kw::Li:
        para.li = std::clamp(param, -31680, 31680);
        break;
    case Kw::Ri:
        para.ri = std::clamp(param, -31680, 31680);
        break;
    case Kw::Fi:
        para.fi = std::clamp(param, -31680, 31680);
        break;
    case Kw::Sb:
        para.sb = std::clamp(param, 0, 31680);
        break;
    case Kw::Sa:
        para.sa = std::clamp(param, 0, 31680);
        break;
    case Kw::Sl:
        para.sl = std::clamp(param, -31680, 31680);
        break;
    case Kw::SlMult:
        para.slMult = on;
        break;
    case Kw::Tx:
        if (param >= 0 && param <= 31680 && para.tabs.size() < 64) {
            QTextOption::Tab tab;
            tab.position = param / TwipsPerPixel;
            tab.type = QTextOption::TabType(pendingTabKind_);
            para.tabs.append(tab);
        }
        pendingTabKind_ = QTextOption::LeftTab;
        break;
    case Kw::Tqr:
        pendingTabKind_ = QTextOption::RightTab;
        break;
    case Kw::Tqc:
        pendingTabKind_ = QTextOption::CenterTab;
        break;
    case Kw::Tqdec:
        pendingTabKind_ = QTextOption::DelimiterTab;
        break;
    case Kw::Emdash:
        put(QChar(0x2014));
        break;
    case Kw::Endash:
        put(QChar(0x2013));
        break;
    case Kw::Bullet:
        put(QChar(0x2022));
        break;
    case Kw::Lquote:
        put(QChar(0x2018));
        break;
    case Kw::Rquote:
        put(QChar(0x2019));
        break;
    case Kw::Ldblquote:
        put(QChar(0x201C));
        break;
    case Kw::Rdblquote:
        put(QChar(0x201D));
        break;
    case Kw::Emspace:
        put(QChar(0x2003));
        break;
    case Kw::Enspace:
        put(QChar(0x2002));
        break;
    case Kw::Qmspace:
        put(QChar(0x2005));
        break;
    case Kw::Zwj:
        put(QChar(0x200D));
        break;
    case Kw::Zwnj:
        put(QChar(0x200C));
        break;
    case Kw::Ltrmark:
        put(QChar(0x200E));
        break;
    case Kw::Rtlmark:
        put(QChar(0x200F));
        break;
    case Kw::PngBlip:
        pict_.format = 1;
        break;
    case Kw::JpegBlip:
        pict_.format = 2;
        break;
    case Kw::OtherBlip:
        pict_.format = 0;
        break;
    case Kw::PicW:
        pict_.picw = param;
        break;
    case Kw::PicH:
        pict_.pich = param;
        break;
    case Kw::PicWGoal:
        pict_.goalw = param;
        break;
    case Kw::PicHGoal:
        pict_.goalh = param;
        break;
    case Kw::PicScaleX:
        pict_.scalex = param;
        break;
    case Kw::PicScaleY:
        pict_.scaley = param;
        break;
    case Kw::Bin:
        break;
    }
}

void Parser::skipBinary(qint64 n) {
    const bool keep = !stack_.empty() && top().dest == Dest::Pict && pict_.active;
    while (n > 0) {
        const qsizetype avail = src_.available();
        if (avail <= 0)
            return; // the file ends inside the data
        const qsizetype take = qsizetype(std::min<qint64>(n, avail));
        if (keep && !pict_.tooBig) {
            if (pict_.data.size() + take > RtfReader::MaxPictureBytes) {
                pict_.tooBig = true;
                pict_.data.clear();
            } else {
                pict_.data.append(reinterpret_cast<const char*>(src_.current()), take);
            }
        }
        src_.advance(take);
        n -= take;
    }
}

void Parser::textByte(uchar b) {
    Group& g = top();
    if (pendingSkip_ > 0 && g.dest != Dest::Skip) {
        --pendingSkip_;
        return;
    }
    switch (g.dest) {
    case Dest::Skip:
    case Dest::UprSkip:
        return;
    case Dest::Pict: {
        const int v = hexValue(b);
        if (v < 0 || pict_.tooBig)
            return;
        if (pict_.nibble < 0) {
            pict_.nibble = v;
        } else {
            if (pict_.data.size() >= RtfReader::MaxPictureBytes) {
                pict_.tooBig = true;
                pict_.data.clear();
                return;
            }
            pict_.data.append(char(pict_.nibble * 16 + v));
            pict_.nibble = -1;
        }
        return;
    }
    case Dest::ColorTable:
        if (b == ';')
            finishColor();
        return;
    case Dest::FontTable:
        if (b == ';') {
            flushBytes();
            finishFontName();
            return;
        }
        byteOut(b);
        return;
    case Dest::Text:
        if (b == '\t') {
            flushBytes();
            put(QChar(u'\t'));
            return;
        }
        if (b < 0x20)
            return; // control characters are no text
        byteOut(b);
        return;
    }
}

// One byte of text in the current code page; multi-byte characters are collected first.
void Parser::byteOut(uchar b) {
    const RtfCodePage* cp = top().codePage ? top().codePage : &RtfCodePage::get(docCodePage_);
    if (b < 0x20) {
        flushBytes();
        if (b == '\t')
            put(QChar(u'\t'));
        return; // control characters are no text
    }
    if (cp->kind() == RtfCodePage::Kind::SingleByte) {
        flushBytes();
        put(cp->map(b));
        return;
    }
    if (pendingCodePage_ != cp)
        flushBytes();
    if (awaitingTrail_) {
        pendingBytes_.append(char(b));
        awaitingTrail_ = false;
        return;
    }
    if (b < 0x80) {
        flushBytes();
        put(QChar(char16_t(b)));
        return;
    }
    pendingCodePage_ = cp;
    pendingBytes_.append(char(b));
    awaitingTrail_ = cp->isLeadByte(b);
    if (pendingBytes_.size() > 4096)
        flushBytes();
}

void Parser::flushBytes() {
    awaitingTrail_ = false;
    if (pendingBytes_.isEmpty())
        return;
    QString text = pendingCodePage_->decode(pendingBytes_);
    pendingBytes_.clear();
    text.remove(QChar(0xFFFC));
    put(text);
}

void Parser::putUnicode(int value) {
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0xFFFF) {
        highSurrogate_ = 0;
        put(QChar(0xFFFD));
        return;
    }
    if ((value < 0x20 && value != '\t') || value == 0xFFFC)
        return; // control characters are no text; U+FFFC stands for pictures only
    const char16_t unit = char16_t(value);
    if (QChar::isHighSurrogate(unit)) {
        if (highSurrogate_) {
            highSurrogate_ = 0;
            put(QChar(0xFFFD));
        }
        highSurrogate_ = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (highSurrogate_) {
            const char16_t pair[2] = {char16_t(highSurrogate_), unit};
            highSurrogate_ = 0;
            put(QStringView(pair, 2));
        } else {
            put(QChar(0xFFFD));
        }
        return;
    }
    put(QChar(unit));
}

void Parser::put(QStringView s) {
    if (s.isEmpty() || stack_.empty())
        return;
    if (highSurrogate_) {
        // A high surrogate not followed by its low half.
        const bool pairing = s.size() == 2 && s[0].isHighSurrogate();
        if (!pairing) {
            highSurrogate_ = 0;
            put(QChar(0xFFFD));
        }
    }
    Group& g = top();
    if (g.dest == Dest::FontTable) {
        if (fontEntry_ < 0)
            return;
        Font& font = fonts_[fontEntry_];
        if (!font.nameDone && font.name.size() < 256)
            font.name.append(s.left(256));
        return;
    }
    if (g.dest != Dest::Text || g.ch.hidden)
        return;
    ensureBlock();
    const bool associated = g.ch.dbFont >= 0 || g.ch.dbSize > 0;
    qsizetype from = 0;
    while (from < s.size()) {
        // A stretch of characters that share their font: all of it, unless a \dbch font is set.
        const bool eastAsian = associated && isEastAsian(s[from].unicode());
        qsizetype to = from + 1;
        if (associated)
            while (to < s.size() && isEastAsian(s[to].unicode()) == eastAsian)
                ++to;
        else
            to = s.size();
        const CharState state = g.ch.shown(eastAsian);
        if (!run_.isEmpty() && !(runState_ == state))
            flushRun();
        if (run_.isEmpty())
            runState_ = state;
        run_.append(s.mid(from, to - from));
        from = to;
    }
}

void Parser::flushRun() {
    if (run_.isEmpty())
        return;
    cursor_.insertText(run_, charFormat(runState_));
    run_.clear();
}

void Parser::ensureBlock() {
    if (!breakPending_)
        return;
    breakPending_ = false;
    cursor_.insertBlock();
}

void Parser::paragraph() {
    flushRun();
    ensureBlock();
    cursor_.setBlockFormat(blockFormat(top().para));
    cursor_.setBlockCharFormat(charFormat(top().ch));
    breakPending_ = true;
}

void Parser::finishDocument() {
    flushBytes();
    if (highSurrogate_) {
        highSurrogate_ = 0;
        put(QChar(0xFFFD));
    }
    if (pict_.active)
        finishPicture();
    flushRun();
    // A final \par ends the last paragraph; it does not start an empty one.
    if (!breakPending_ && !stack_.empty()) {
        cursor_.setBlockFormat(blockFormat(top().para));
        if (cursor_.block().length() <= 1)
            cursor_.setBlockCharFormat(charFormat(top().ch));
    }
}

QTextCharFormat Parser::charFormat(const CharState& ch) {
    if (lastCharState_ && cachedState_ == ch)
        return cachedFormat_;
    QTextCharFormat f;
    auto font = fonts_.constFind(ch.font < 0 ? defaultFont_ : ch.font);
    if (font != fonts_.constEnd() && !font->name.trimmed().isEmpty())
        f.setFontFamilies({font->name.trimmed()});
    f.setFontPointSize(ch.size / 2.0);
    if (ch.bold)
        f.setFontWeight(QFont::Bold);
    if (ch.italic)
        f.setFontItalic(true);
    if (ch.underline != QTextCharFormat::NoUnderline)
        f.setUnderlineStyle(QTextCharFormat::UnderlineStyle(ch.underline));
    if (ch.strike)
        f.setFontStrikeOut(true);
    if (ch.vertical != QTextCharFormat::AlignNormal)
        f.setVerticalAlignment(QTextCharFormat::VerticalAlignment(ch.vertical));
    if (ch.fg >= 0 && ch.fg < colors_.size() && colors_[ch.fg].isValid())
        f.setForeground(colors_[ch.fg]);
    if (ch.bg >= 0 && ch.bg < colors_.size() && colors_[ch.bg].isValid())
        f.setBackground(colors_[ch.bg]);
    cachedState_ = ch;
    cachedFormat_ = f;
    lastCharState_ = true;
    return f;
}

QTextBlockFormat Parser::blockFormat(const ParaState& para) const {
    QTextBlockFormat f;
    static const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                           Qt::AlignJustify};
    f.setAlignment(aligns[para.align] | Qt::AlignAbsolute);
    if (para.li)
        f.setLeftMargin(para.li / TwipsPerPixel);
    if (para.ri)
        f.setRightMargin(para.ri / TwipsPerPixel);
    if (para.fi)
        f.setTextIndent(para.fi / TwipsPerPixel);
    if (para.sb)
        f.setTopMargin(para.sb / TwipsPerPixel);
    if (para.sa)
        f.setBottomMargin(para.sa / TwipsPerPixel);
    if (para.sl != 0) {
        if (para.slMult && para.sl > 0)
            f.setLineHeight(para.sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (para.sl < 0)
            f.setLineHeight(-para.sl / TwipsPerPixel, QTextBlockFormat::FixedHeight);
        else if (!para.slMult)
            f.setLineHeight(para.sl / TwipsPerPixel, QTextBlockFormat::MinimumHeight);
    }
    if (!para.tabs.isEmpty())
        f.setTabPositions(para.tabs);
    return f;
}

void Parser::finishFontName() {
    if (fontEntry_ < 0)
        return;
    flushBytes();
    auto it = fonts_.find(fontEntry_);
    if (it != fonts_.end() && !it->nameDone) {
        it->nameDone = true;
        // Windows names a font's code-page variant "Arial CE", "Arial CYR", …: the same font.
        it->name = it->name.trimmed();
        static const char* const suffixes[] = {" CE",       " CYR",      " Cyr",
                                               " Greek",    " Tur",      " Baltic",
                                               " (Hebrew)", " (Arabic)", " (Vietnamese)"};
        for (const char* suffix : suffixes)
            if (it->codePage != 0 && it->codePage != 1252 &&
                it->name.endsWith(QLatin1String(suffix)) &&
                it->name.size() > qsizetype(strlen(suffix))) {
                it->name.chop(qsizetype(strlen(suffix)));
                break;
            }
    }
    lastCharState_ = false;
    fontEntry_ = -1;
}

void Parser::finishColor() {
    lastCharState_ = false;
    if (colors_.size() < MaxColors)
        colors_.append(colorSet_ ? QColor(red_, green_, blue_) : QColor());
    red_ = green_ = blue_ = 0;
    colorSet_ = false;
}

void Parser::finishPicture() {
    Picture pict = std::move(pict_);
    pict_ = Picture();
    if (pict.format == 0 || pict.tooBig || pict.data.isEmpty())
        return;
    QImage image;
    if (!image.loadFromData(pict.data, pict.format == 1 ? "PNG" : "JPEG") || image.isNull())
        return;
    double w = pict.goalw > 0 ? pict.goalw / TwipsPerPixel : image.width();
    double h = pict.goalh > 0 ? pict.goalh / TwipsPerPixel : image.height();
    if (pict.scalex > 0 && pict.scalex <= 10000)
        w = w * pict.scalex / 100.0;
    if (pict.scaley > 0 && pict.scaley <= 10000)
        h = h * pict.scaley / 100.0;
    w = std::clamp(w, 1.0, 20000.0);
    h = std::clamp(h, 1.0, 20000.0);
    if (stack_.empty() || top().dest != Dest::Text)
        return;
    const QString name = QStringLiteral("rtfimage://%1").arg(++imageCount_);
    doc_->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(w);
    f.setHeight(h);
    flushRun();
    ensureBlock();
    cursor_.insertImage(f);
}

qsizetype rtfStart(const QByteArray& head) {
    qsizetype i = 0;
    if (head.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < head.size() &&
           (head[i] == ' ' || head[i] == '\t' || head[i] == '\r' || head[i] == '\n'))
        ++i;
    return head.mid(i, 5) == "{\\rtf" ? i : -1;
}

void readFrom(Source& source, QTextDocument* document) {
    // Check the start: "{\rtf" after an optional byte-order mark and blanks.
    QByteArray head;
    for (int i = 0; i < 64; ++i) {
        const int c = source.peek(i);
        if (c < 0)
            break;
        head.append(char(c));
    }
    const qsizetype start = rtfStart(head);
    if (start < 0)
        throw RtfFormatError(LoadFailed);
    source.advance(start);

    document->clear();
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    Parser parser(source, document);
    try {
        parser.run();
    } catch (...) {
        document->setUndoRedoEnabled(undo);
        throw;
    }
    document->setUndoRedoEnabled(undo);
}

} // namespace

bool RtfReader::looksLikeRtf(const QByteArray& head) {
    return rtfStart(head) >= 0;
}

void RtfReader::read(const QByteArray& rtf, QTextDocument* document) {
    Source source(rtf);
    readFrom(source, document);
}

void RtfReader::read(QIODevice* device, QTextDocument* document) {
    if (!device || !device->isReadable())
        throw AppError(LoadFailed);
    Source source(device);
    readFrom(source, document);
}
