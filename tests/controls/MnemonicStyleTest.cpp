// The mnemonic letters are underlined only while Alt is held: the windows look as they did
// without mnemonics until the user asks for them.
#include "controls/MnemonicStyle.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QImage shot(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

TEST(MnemonicStyle, UnderlinesShowOnlyWhileAltIsHeld) {
    MnemonicStyle style;
    QPushButton plain(QStringLiteral("Save Project"));
    QPushButton marked(QStringLiteral("&Save Project"));
    for (QPushButton* button : {&plain, &marked}) {
        button->setStyle(&style);
        button->resize(160, 34);
    }

    EXPECT_EQ(style.styleHint(QStyle::SH_UnderlineShortcut), 0);
    EXPECT_EQ(shot(marked), shot(plain)) << "no underline without Alt";

    QTest::keyPress(&marked, Qt::Key_Alt, Qt::AltModifier);
    EXPECT_TRUE(style.altHeld());
    EXPECT_EQ(style.styleHint(QStyle::SH_UnderlineShortcut), 1);
    EXPECT_NE(shot(marked), shot(plain)) << "the S is underlined while Alt is down";

    // Alt and a letter, then Alt let go.
    QTest::keyPress(&marked, Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(style.altHeld());
    QTest::keyRelease(&marked, Qt::Key_Alt, Qt::NoModifier);
    EXPECT_FALSE(style.altHeld());
    EXPECT_EQ(shot(marked), shot(plain));

    // A key without Alt (Alt let go in another program's window) hides them too.
    QTest::keyPress(&marked, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyClick(&marked, Qt::Key_A);
    EXPECT_FALSE(style.altHeld());
}

// Everything but the underline comes from the wrapped style.
TEST(MnemonicStyle, OtherwiseDrawsAsTheStyleItWraps) {
    MnemonicStyle style;
    QPushButton wrapped(QStringLiteral("Print"));
    QPushButton bare(QStringLiteral("Print"));
    wrapped.setStyle(&style);
    wrapped.resize(150, 34);
    bare.resize(150, 34);
    EXPECT_EQ(shot(wrapped), shot(bare));
}

} // namespace
