#pragma once
// The application's style with tooltips that wake up at once and stay ten seconds, as the
// program's hints are meant to appear.
#include <QProxyStyle>

class Quick_Tooltip_Style final : public QProxyStyle
{
public:
    static constexpr int Wake_Up_Delay_Ms = 10;
    static constexpr int Fall_Asleep_Delay_Ms = 10000;

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* return_data = nullptr) const override;
};
