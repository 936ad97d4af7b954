#!/usr/bin/env bash
# Draws the program's skin bitmaps (24-bit BMP) into data/Skin with ImageMagick.
# Usage: scripts/draw_skins.sh [output directory]
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-data/Skin}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The palette follows the main window's green, RGB(0x90,0xC4,0x05).
green='#90C405'
deep='#2F5A00'
font_bold=DejaVu-Sans-Bold
font=DejaVu-Sans

save_bmp() { # source image, target name
    convert "$1" -alpha off -type TrueColor -define bmp:format=bmp3 "BMP3:$out/$2"
}

calc() { awk "BEGIN { pi = atan2(0, -1); $1 }"; }

# Joins count frames work/prefix_0.png ... side by side into one bitmap.
frames_to_strip() { # count prefix target
    local i list=()
    for ((i = 0; i < $1; i++)); do list+=("$work/$2_$i.png"); done
    convert "${list[@]}" +append "$work/$2.png"
    save_bmp "$work/$2.png" "$3"
}

# --- Record table rows -------------------------------------------------------------
column_lines() { # top bottom: the separators between the table's columns
    local x lines=()
    for x in 72 156 248 395 495; do lines+=("line $x,$1 $x,$2"); done
    echo "${lines[*]}"
}
# A 743 pixel wide row: a gradient, its edge lines, then the column separators from top to row 13.
row_skin() { # height gradient separator-colour separator-top target [edge-line options...]
    local height=$1 gradient=$2 separator=$3 top=$4 target=$5
    shift 5
    convert -size "743x$height" gradient:"$gradient" "$@" \
        -stroke "$separator" -draw "$(column_lines "$top" 13)" \
        "$work/row.png"
    save_bmp "$work/row.png" "$target"
}
row_skin 18 '#4F8C00-#2C5500' '#5E9A12' 4 Header_Row.bmp \
    -stroke '#86BE2A' -draw 'line 0,0 742,0' -stroke '#1C3800' -draw 'line 0,17 742,17'
row_skin 17 '#FFFFFF-#EDF5DC' '#E2EDCD' 3 Default_Data_Row.bmp \
    -stroke '#D2E5AE' -draw 'line 0,16 742,16'
row_skin 17 '#F1FAD6-#CFEA8A' '#BFDE80' 3 Focused_Data_Row.bmp \
    -stroke '#B6D96E' -draw 'line 0,0 742,0' -stroke '#93BF3A' -draw 'line 0,16 742,16'

# --- Buttons: four faces side by side (normal, hot, down, disabled) ------------------
face() { # width height top bottom border highlight target
    local w=$1 h=$2
    convert -size "${w}x${h}" gradient:"$3-$4" \
        -stroke "$6" -draw "line 1,1 $((w - 2)),1" \
        -fill none -stroke "$5" -draw "rectangle 0,0 $((w - 1)),$((h - 1))" "$7"
}
face 105 25 '#FCFEF6' '#D3EAA6' '#4A7A08' '#FFFFFF' "$work/button_0.png"
face 105 25 '#FFFFFF' '#E4F5BE' '#6AA510' '#FFFFFF' "$work/button_1.png"
face 105 25 '#B9D875' '#E2F1C0' '#36600A' '#9DBF5C' "$work/button_2.png"
face 105 25 '#F4F4F2' '#DCDCD8' '#A4A4A0' '#FFFFFF' "$work/button_3.png"
frames_to_strip 4 button Button_Skin.bmp

minimize_face() { # top bottom border bar shift target
    local s=$5
    convert -size 17x17 gradient:"$1-$2" \
        -fill none -stroke "$3" -draw 'rectangle 0,0 16,16' \
        -fill "$4" -stroke none -draw "rectangle $((4 + s)),$((11 + s)) $((12 + s)),$((12 + s))" "$6"
}
minimize_face '#6FAE10' '#3C6C00' '#234400' '#FFFFFF' 0 "$work/minimize_0.png"
minimize_face '#86C81E' '#4C8200' '#2C5200' '#FFFFFF' 0 "$work/minimize_1.png"
minimize_face '#345E00' '#5E9A08' '#1A3300' '#E8F4D0' 1 "$work/minimize_2.png"
minimize_face '#C4C4C0' '#A4A4A0' '#808080' '#E8E8E8' 0 "$work/minimize_3.png"
frames_to_strip 4 minimize Minimize_Button_Skin.bmp

# --- Message dialog background (355 x 138) -------------------------------------------
# White where the icon and the message stand, a green bar on top, a band under the buttons.
convert -size 355x138 xc:white \
    \( -size 355x5 gradient:"#A6D622-$green" \) -geometry +0+0 -composite \
    -stroke '#5E8A00' -draw 'line 0,5 354,5' \
    \( -size 355x48 gradient:'#F3F9E6-#E2F0C6' \) -geometry +0+90 -composite \
    -stroke '#D0E4A8' -draw 'line 0,89 354,89' \
    "$work/dialog.png"
save_bmp "$work/dialog.png" Message_Dialog_Form_Background.bmp

# --- Icon strips: 64 x 64 frames from left to right, drawn at four times the size ----
small() { convert "$1" -filter Lanczos -resize 64x64 "$2"; }

# Draws each frame with draw_<name> (index, count, target) at 256 x 256, shrinks it and joins the strip.
icon_strip() { # name count target
    local i
    for ((i = 0; i < $2; i++)); do
        "draw_$1" "$i" "$2" "$work/big.png"
        small "$work/big.png" "$work/$1_$i.png"
    done
    frames_to_strip "$2" "$1" "$3"
}

# Error: a red disc with a white cross that pulses, and a ring that spreads and fades.
draw_error() { # index count target
    local i=$1 n=$2 r ring shade arm
    r=$(calc "printf \"%.1f\", 96 + 6 * sin(2 * pi * $i / $n)")
    ring=$(calc "printf \"%.1f\", 100 + 24 * $i / $n")
    shade=$(calc "v = int(255 - 110 * (1 - $i / $n)); printf \"#FF%02X%02X\", v, v")
    arm=$(calc "printf \"%.1f\", $r * 0.42")
    convert -size 256x256 xc:white \
        -fill none -stroke "$shade" -strokewidth 6 -draw "circle 128,128 $(calc "printf \"%.1f\", 128 + $ring"),128" \
        -fill '#D63A28' -stroke '#A82414' -strokewidth 4 -draw "circle 128,128 $(calc "printf \"%.1f\", 128 + $r"),128" \
        -stroke white -strokewidth 22 -draw "stroke-linecap round line $(calc "printf \"%.1f,%.1f %.1f,%.1f\", 128-$arm, 128-$arm, 128+$arm, 128+$arm")" \
        -draw "stroke-linecap round line $(calc "printf \"%.1f,%.1f %.1f,%.1f\", 128+$arm, 128-$arm, 128-$arm, 128+$arm")" \
        "$3"
}
icon_strip error 16 Error_Icon_Source.bmp

# Warning: an amber triangle with an exclamation mark whose glow breathes.
draw_warning() { # index count target
    local i=$1 n=$2 t fill glow grow
    t=$(calc "print (1 - cos(2 * pi * $i / $n)) / 2")
    fill=$(calc "printf \"#%02X%02X%02X\", 242 + 13 * $t, 169 + 45 * $t, 0 + 60 * $t")
    glow=$(calc "v = int(255 - 70 * $t); printf \"#FF%02X%02X\", 230 + 25 * (1 - $t), v")
    grow=$(calc "printf \"%.1f\", 10 * $t")
    convert -size 256x256 xc:white \
        -fill none -stroke "$glow" -strokewidth 10 -strokewidth "$(calc "printf \"%.1f\", 4 + 10 * $t")" \
        -draw "stroke-linejoin round polygon 128,$(calc "printf \"%.1f\", 14 - $grow") $(calc "printf \"%.1f,%.1f %.1f,%.1f\", 14 - $grow, 226 + $grow / 2, 242 + $grow, 226 + $grow / 2")" \
        -fill "$fill" -stroke '#B87800' -strokewidth 8 -draw 'stroke-linejoin round polygon 128,28 26,216 230,216' \
        -fill '#3A2A00' -stroke none -draw 'roundrectangle 116,80 140,160 10,10' -draw 'circle 128,188 128,202' \
        "$3"
}
icon_strip warning 24 Warning_Icon_Source.bmp

# Shutdown: a power symbol on a dark disc with a green light running round its ring.
arc_points() { # centre radius from to (radians)
    calc "for (k = 0; k <= 24; k++) { a = ($3) + (($4) - ($3)) * k / 24; printf \"%.1f,%.1f \", $1 + $2 * cos(a), $1 + $2 * sin(a) }"
}
power_arc=$(arc_points 128 62 "-pi / 2 + 0.75" "3 * pi / 2 - 0.75")
draw_shutdown() { # index count target
    local i=$1 n=$2 head
    head=$(calc "print 2 * pi * $i / $n - pi / 2")
    convert -size 256x256 xc:white \
        -fill '#2C3A26' -stroke '#1A2416' -strokewidth 4 -draw 'circle 128,128 244,128' \
        -fill none -stroke '#46573E' -strokewidth 10 -draw 'circle 128,128 232,128' \
        -stroke '#6E9A2A' -strokewidth 10 \
        -draw "stroke-linecap round stroke-linejoin round polyline $(arc_points 128 104 "$head - 1.6" "$head - 0.6")" \
        -stroke '#C4F04A' -strokewidth 12 \
        -draw "stroke-linecap round stroke-linejoin round polyline $(arc_points 128 104 "$head - 0.7" "$head")" \
        -stroke "$green" -strokewidth 18 \
        -draw "stroke-linecap round stroke-linejoin round polyline $power_arc" \
        -draw 'stroke-linecap round line 128,52 128,124' \
        "$3"
}
icon_strip shutdown 36 Shutdown_Icon_Source.bmp

# Overtime: a clock with an orange rim whose minute hand runs round, the hour hand slowly.
draw_overtime() { # index count target
    local i=$1 n=$2 m h ticks k
    m=$(calc "print 2 * pi * $i / $n - pi / 2")
    h=$(calc "print 2 * pi * (4 + $i / $n) / 12 - pi / 2")
    ticks=""
    for ((k = 0; k < 12; k++)); do
        ticks+="line $(calc "a = 2 * pi * $k / 12; l = ($k % 3 == 0) ? 80 : 88; printf \"%.1f,%.1f %.1f,%.1f\", 128 + l * cos(a), 128 + l * sin(a), 128 + 98 * cos(a), 128 + 98 * sin(a)") "
    done
    convert -size 256x256 xc:white \
        -fill '#FFF8EE' -stroke '#E2791B' -strokewidth 18 -draw 'circle 128,128 240,128' \
        -stroke '#6B4A20' -strokewidth 6 -draw "$ticks" \
        -stroke '#3A2A10' -strokewidth 14 -draw "stroke-linecap round line 128,128 $(calc "printf \"%.1f,%.1f\", 128 + 52 * cos($h), 128 + 52 * sin($h)")" \
        -stroke '#D2561A' -strokewidth 8 -draw "stroke-linecap round line 128,128 $(calc "printf \"%.1f,%.1f\", 128 + 84 * cos($m), 128 + 84 * sin($m)")" \
        -fill '#3A2A10' -stroke none -draw 'circle 128,128 128,140' \
        "$3"
}
icon_strip overtime 24 Overtime_Icon_Source.bmp

# Summary: a green disc with three white bars rising and falling one after the other.
draw_summary() { # index count target
    local i=$1 n=$2 bars height left k
    bars=""
    for k in 0 1 2; do
        height=$(calc "printf \"%.0f\", 62 + 40 * sin(2 * pi * ($i / $n - $k / 3.0))")
        left=$((74 + k * 40))
        bars+="roundrectangle $left,$((176 - height)) $((left + 28)),176 6,6 "
    done
    convert -size 256x256 xc:white \
        -fill "$green" -stroke '#5E8A00' -strokewidth 6 -draw 'circle 128,128 244,128' \
        -fill white -stroke none -draw "$bars" \
        -stroke white -strokewidth 8 -draw 'stroke-linecap round line 62,190 194,190' \
        "$3"
}
icon_strip summary 12 Summary_Icon_Source.bmp

# --- Splash screen (390 x 243), one per language: its words are drawn into it -----------
draw_splash() { # headline note file
  convert -size 243x390 gradient:'#A8D824-#4E7E00' -rotate -90 \
      -fill '#FFFFFF18' -stroke none -draw 'circle 330,40 330,200' -draw 'circle 40,250 40,330' \
      \( -size 512x512 xc:none -fill '#FFFFFF' -stroke '#2F5A00' -strokewidth 20 -draw 'circle 256,256 476,256' \
         -stroke '#2F5A00' -strokewidth 30 -draw 'stroke-linecap round line 256,256 256,104' \
         -strokewidth 22 -draw 'stroke-linecap round line 256,256 362,318' \
         -fill "$green" -stroke none -draw 'circle 256,256 256,282' -resize 84x84 \) \
      -geometry +34+60 -composite \
      -font "$font_bold" -pointsize 30 -fill '#1F3D0066' -annotate +135+103 'Zentavo' -annotate +135+137 'Logger' \
      -fill white -annotate +133+101 'Zentavo' -annotate +133+135 'Logger' \
      -stroke '#FFFFFFA0' -strokewidth 2 -draw 'line 34,170 356,170' -stroke none \
      -font "$font" -pointsize 15 -fill white -annotate +34+197 "$1" \
      -pointsize 11 -fill '#E8F6C8' -annotate +34+219 "$2" \
      "$work/splash.png"
  save_bmp "$work/splash.png" "$3"
}
draw_splash 'Nový pracovní den začíná' 'Předchozí den byl uložen do záznamu práce.' Splash_Screen.bmp
draw_splash 'A new working day begins' 'The previous day was saved to the work log.' Splash_Screen_English.bmp

echo "skins written to $out"
