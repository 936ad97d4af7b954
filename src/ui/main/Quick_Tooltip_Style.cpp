#include "ui/main/Quick_Tooltip_Style.h"

int Quick_Tooltip_Style::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                   QStyleHintReturn* return_data) const
{
    if (hint == SH_ToolTip_WakeUpDelay) return Wake_Up_Delay_Ms;
    if (hint == SH_ToolTip_FallAsleepDelay) return Fall_Asleep_Delay_Ms;
    return QProxyStyle::styleHint(hint, option, widget, return_data);
}
