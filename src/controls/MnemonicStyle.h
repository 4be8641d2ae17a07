// The application's style, with one change: the mnemonic letters of buttons and labels are
// underlined only while Alt is held, as on Windows and in KDE. The windows then look exactly as
// they do without mnemonics, and Alt shows which letter reaches which control. Everything else
// is the style it wraps.
#pragma once

#include <QProxyStyle>

class MnemonicStyle : public QProxyStyle {
    Q_OBJECT
public:
    // baseStyle: the style to wrap (taken over); nullptr for the application's default.
    explicit MnemonicStyle(QStyle* baseStyle = nullptr);

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;

    // True while the underlines show.
    bool altHeld() const { return altHeld_; }

protected:
    // Watches the application's key events for Alt.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setAltHeld(bool held);

    bool altHeld_ = false;
};
