"""The skin images the program loads, by resource id. Plain data, no imports,
so the checks can run on any Python without PIL."""

# id: (width, height, frames, what it is)
SKINS = {
    129: (1005, 569, 1, "login background, shown with per-pixel alpha"),
    131: (30, 51, 1, "dialog background, stretched; caption 30, border 4"),
    132: (132, 28, 4, "close button"),
    133: (228, 23, 4, "dialog command button"),
    134: (30, 51, 1, "main window background, stretched; caption 30, border 4"),
    135: (108, 28, 4, "maximize button"),
    136: (108, 28, 4, "minimize button"),
    137: (108, 28, 4, "restore button"),
    138: (108, 27, 4, "hide-all button"),
    139: (176, 28, 4, "system menu button (program draws its text)"),
    140: (567, 22, 3, "tabs: normal, hovered, current"),
    141: (39, 13, 3, "tab close: tab hovered, icon hovered, pressed"),
    142: (14, 16, 1, "icon before the log-in-another-account link"),
    143: (250, 191, 1, "notice with picture and text"),
    144: (144, 14, 4, "notice close button (143, 147)"),
    145: (216, 22, 4, "notice close button (146)"),
    146: (160, 212, 1, "notice with picture only"),
    147: (250, 167, 1, "notice with text only"),
    148: (108, 27, 4, "sound button, muted"),
    149: (108, 27, 4, "sound button, sound on"),
    150: (316, 28, 1, "banner (not loaded by the program)"),
    151: (316, 28, 1, "banner, gold (not loaded by the program)"),
    152: (390, 21, 1, "progress bar trough"),
    153: (390, 21, 1, "progress bar fill"),
    162: (284, 150, 1, "add-account dialog background"),
}

# Only the login background is drawn with real alpha; every other image goes
# through the key-colour loader, which flattens partial alpha onto white.
TRUE_ALPHA = {129}

# Backgrounds whose window corners are cut where the image is transparent.
WINDOW_BACKGROUNDS = (131, 134, 143, 146, 147, 162)

# Stretched backgrounds: id -> (border, caption). Only the corner pieces
# (border x caption at the top, border x border at the bottom) are copied
# unscaled; transparency anywhere else would be smeared across the window.
STRETCHED = {131: (4, 30), 134: (4, 30)}

CORNER = 9

KEY = (255, 0, 255)
