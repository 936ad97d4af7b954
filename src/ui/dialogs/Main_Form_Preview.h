#pragma once
// What the settings dialog changes on the main window while it is open, and where the
// window stands when its position is saved.
#include <QPoint>
#include <cstdint>

class Main_Form_Preview
{
public:
    virtual ~Main_Form_Preview() = default;
    // Opacity as blend switch and value (0..255); switch off means opaque.
    virtual void Set_Alpha_Blend(bool enabled, std::uint8_t value) = 0;
    virtual void Apply_Anchor() = 0;
    // The window's position, with the top it had before the button bar pushed it up.
    virtual QPoint Position_To_Save() const = 0;
};
