#!/usr/bin/env python3
"""Writes the skin's Qt Designer forms (res/*.xml). The forms are kept in the
repository; run this after changing the layout here:  python3 scripts/skin_forms.py"""
import os
from xml.sax.saxutils import escape

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "res")


def prop_value(v):
    if isinstance(v, bool):
        return f"<bool>{'true' if v else 'false'}</bool>"
    if isinstance(v, int):
        return f"<number>{v}</number>"
    if isinstance(v, tuple) and v[0] == "size":
        return f"<size><width>{v[1]}</width><height>{v[2]}</height></size>"
    if isinstance(v, tuple) and v[0] == "rect":
        return (f"<rect><x>{v[1]}</x><y>{v[2]}</y><width>{v[3]}</width>"
                f"<height>{v[4]}</height></rect>")
    if isinstance(v, tuple) and v[0] == "enum":
        return f"<enum>{v[1]}</enum>"
    if isinstance(v, tuple) and v[0] == "set":
        return f"<set>{v[1]}</set>"
    if isinstance(v, tuple) and v[0] == "icon":
        return f"<iconset><normaloff>{v[1]}</normaloff>{v[1]}</iconset>"
    if isinstance(v, tuple) and v[0] == "pixmap":
        return f"<pixmap>{v[1]}</pixmap>"
    if isinstance(v, tuple) and v[0] == "policy":
        return (f'<sizepolicy hsizetype="{v[1]}" vsizetype="{v[2]}">'
                "<horstretch>0</horstretch><verstretch>0</verstretch></sizepolicy>")
    return f"<string>{escape(str(v))}</string>"


# Properties Designer does not know for a class are dynamic ones.
DYNAMIC = {"resourcetext", "caption", "class", "role"}


class W:
    def __init__(self, cls, name, layout=None, items=(), combo=(), **props):
        self.cls, self.name, self.layout, self.items = cls, name, layout, list(items)
        self.combo = list(combo)
        self.props = props

    def xml(self, ind):
        p = " " * ind
        out = [f'{p}<widget class="{self.cls}" name="{self.name}">']
        for k, v in self.props.items():
            dyn = ' stdset="0"' if k in DYNAMIC else ""
            out.append(f'{p} <property name="{k}"{dyn}>{prop_value(v)}</property>')
        for text in self.combo:
            out.append(f'{p} <item><property name="text"><string>{text}</string></property></item>')
        if self.layout:
            out.append(self.layout.xml(ind + 1))
        for child in self.items:
            out.append(child.xml(ind + 1))
        out.append(f"{p}</widget>")
        return "\n".join(out)


class Stretch:
    counter = 0

    def __init__(self, vertical=False):
        Stretch.counter += 1
        self.name = f"stretch_{Stretch.counter}"
        self.vertical = vertical

    def xml(self, ind):
        p = " " * ind
        orient = "Qt::Vertical" if self.vertical else "Qt::Horizontal"
        return (f'{p}<spacer name="{self.name}"><property name="orientation">'
                f"<enum>{orient}</enum></property><property name=\"sizeHint\" stdset=\"0\">"
                f"<size><width>0</width><height>0</height></size></property></spacer>")


class L:
    counter = 0

    def __init__(self, kind, *children, margins=0, spacing=6, stretch=None):
        L.counter += 1
        self.kind, self.children = kind, children
        self.margins, self.spacing = margins, spacing
        self.stretch = stretch
        self.name = f"layout_{L.counter}"

    def xml(self, ind):
        p = " " * ind
        cls = {"h": "QHBoxLayout", "v": "QVBoxLayout"}[self.kind]
        m = self.margins if isinstance(self.margins, tuple) else (self.margins,) * 4
        out = [f'{p}<layout class="{cls}" name="{self.name}">']
        if self.stretch:
            out.append(f'{p} <property name="stretch" stdset="0"><string>{self.stretch}</string></property>')
        out.append(f'{p} <property name="spacing"><number>{self.spacing}</number></property>')
        for side, value in zip(("left", "top", "right", "bottom"), m):
            out.append(f'{p} <property name="{side}Margin"><number>{value}</number></property>')
        for c in self.children:
            if isinstance(c, (W, Stretch)):
                out.append(f"{p} <item>\n{c.xml(ind + 2)}\n{p} </item>")
            else:
                out.append(f"{p} <item>\n{c.xml(ind + 2)}\n{p} </item>")
        out.append(f"{p}</layout>")
        return "\n".join(out)


def H(*c, **kw):
    return L("h", *c, **kw)


def V(*c, **kw):
    return L("v", *c, **kw)


def label(name, text="", key=True, **props):
    if key and text:
        props["resourcetext"] = True
    return W("QLabel", name, text=text, **props)


def button(name, text="", key=True, **props):
    if key and text:
        props["resourcetext"] = True
    return W("QPushButton", name, text=text, **props)


def fixed(w, h):
    return {"minimumSize": ("size", w, h), "maximumSize": ("size", w, h)}


CUSTOM = """ <customwidgets>
  <customwidget><class>RingProgress</class><extends>QProgressBar</extends><header>platform/ring_progress.h</header></customwidget>
  <customwidget><class>ColorPalette</class><extends>QWidget</extends><header>platform/color_palette.h</header></customwidget>
 </customwidgets>"""


def write_form(path, cls, top):
    text = (f'<?xml version="1.0" encoding="UTF-8"?>\n<ui version="4.0">\n <class>{cls}</class>\n'
            f"{top.xml(1)}\n{CUSTOM}\n <resources/>\n <connections/>\n</ui>\n")
    full = os.path.join(ROOT, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    with open(full, "w", encoding="utf-8") as f:
        f.write(text)


# ---------------------------------------------------------------- main window

def section_header(check_name, text_key, extra=()):
    return W("QWidget", check_name.replace("ms_1_check_", "header_"), role="section_header",
             layout=H(W("QCheckBox", check_name, text=text_key, resourcetext=True, checked=True,
                        role="section"), Stretch(), *extra, spacing=6))


def key_column(first, last):
    rows = []
    for n in range(first, last + 1):
        rows.append(H(label(f"ms_1_key_control_{n}", str(n), key=False, role="key_badge",
                            alignment=("set", "Qt::AlignCenter"), **fixed(24, 24)),
                      button(f"ms_1_btn_key_{n}", key=False, role="key_button",
                             minimumSize=("size", 0, 26)),
                      spacing=6))
    return V(*rows, spacing=5)


def dpi_rows():
    rows = []
    for n in range(1, 9):
        rows.append(H(W("QRadioButton", f"ms_1_option_dpi_step_{n}", text=str(n),
                        role="dpi_step", **fixed(40, 22)),
                      W("QSlider", f"ms_1_slider_dpi_{n}", orientation=("enum", "Qt::Horizontal"),
                        minimum=0, maximum=400, singleStep=1, pageStep=10),
                      label(f"ms_1_label_dpi_{n}", "0", key=False, role="value",
                            alignment=("set", "Qt::AlignRight|Qt::AlignVCenter"), **fixed(62, 22)),
                      button(f"ms_1_btn_dpi_color_{n}", key=False, role="swatch", **fixed(20, 20)),
                      spacing=8))
    return V(*rows, spacing=4, margins=(4, 2, 4, 6))


def slider_row(row_name, text_key, slider_name, lo, hi):
    return W("QWidget", row_name, layout=H(
        label(f"{row_name}_label", text_key, role="row_label", **fixed(76, 22)),
        W("QSlider", slider_name, orientation=("enum", "Qt::Horizontal"), minimum=lo, maximum=hi,
          pageStep=1),
        spacing=8))


EFFECTS = [f"light_effect_{i}_text" for i in range(12)]


def main_form():
    caption = W("QFrame", "caption_bar", caption=True, role="caption", **fixed(800, 46), layout=H(
        label("caption_logo", key=False, pixmap=("pixmap", "images/logo.svg"), scaledContents=True,
              **fixed(26, 26)),
        label("caption_title", "mouse_name_text", role="caption_title"),
        Stretch(),
        button("skin_btn", key=False, role="caption_button", icon=("icon", "images/skin.svg"),
               iconSize=("size", 16, 16), **fixed(30, 30)),
        button("main_menu_btn", key=False, role="caption_button", icon=("icon", "images/menu.svg"),
               iconSize=("size", 16, 16), **fixed(30, 30)),
        button("min_btn", key=False, role="caption_button", icon=("icon", "images/minimize.svg"),
               iconSize=("size", 16, 16), **fixed(30, 30)),
        button("exit_btn", key=False, role="caption_close", icon=("icon", "images/close.svg"),
               iconSize=("size", 16, 16), **fixed(30, 30)),
        margins=(14, 0, 8, 0), spacing=4))

    progress_row = W("QWidget", "apply_progress_row", **fixed(800, 3), layout=H(
        W("QProgressBar", "apply_progress", value=0, textVisible=False, visible=False,
          maximumSize=("size", 16777215, 3)),
        # Shown while settings are being sent; a busy bar (no range).
        W("QProgressBar", "apply_ring", minimum=0, maximum=0, textVisible=False, visible=False,
          role="busy", maximumSize=("size", 16777215, 3)), margins=0))

    profile_panel = W("QFrame", "panel_profile", role="panel", layout=V(
        section_header("ms_1_check_profile", "profile_text"),
        W("QWidget", "ms_1_ver_profile", layout=V(
            W("QListWidget", "ms_1_list_profile", minimumSize=("size", 0, 120)),
            # Two a row: room for the longer words of other languages.
            H(button("ms_1_profile_add_btn", "add_text", role="small"),
              button("ms_1_profile_delete_btn", "delete_text", role="small"), spacing=4),
            H(button("ms_1_profile_rename_btn", "rename_text", role="small"),
              button("ms_1_profile_reset_btn", "reset_text", role="small"), spacing=4),
            H(button("ms_1_profile_import_btn", "import_text", role="small"),
              button("ms_1_profile_export_btn", "export_text", role="small"), spacing=4),
            spacing=6)),
        margins=10, spacing=8))

    # The links show on every link; the battery part only where the mouse
    # reports its charge (not over Bluetooth LE).
    power_panel = W("QFrame", "panel_power", role="panel", layout=V(
        label("device_status_title", "device_status_text", role="section_title"),
        H(label("link_caption", "connection_text", role="row_label"), Stretch(),
          label("ms_1_wired", key=False, pixmap=("pixmap", "images/wired.svg"),
                scaledContents=True, role="link", **fixed(20, 20)),
          label("ms_1_wireless", key=False, pixmap=("pixmap", "images/wireless.svg"),
                scaledContents=True, role="link", **fixed(20, 20)),
          label("ms_1_BLE", key=False, pixmap=("pixmap", "images/ble.svg"),
                scaledContents=True, role="link", **fixed(20, 20)), spacing=8),
        section_header("ms_1_check_power", "battery_text"),
        W("QWidget", "ms_1_ver_power", layout=V(
            H(W("RingProgress", "ms_1_progress_power", value=0, **fixed(64, 64)),
              V(label("ms_1_label_power", "battery_text", role="value"),
                label("ms_1_low_power_label", "low_power_text", role="warning", visible=False),
                label("ms_1_sleep_label", "sleeping_text", role="muted"),
                Stretch(True), spacing=2),
              spacing=10),
            spacing=8)),
        section_header("ms_1_check_power_setting", "power_setting_text"),
        W("QWidget", "ms_1_ver_power_setting", layout=V(
            label("power_setting_hint", "power_setting_hint_text", role="muted", wordWrap=True))),
        margins=10, spacing=8))

    left = V(profile_panel, power_panel,
             label("ms_1_unsent_label", "unsent_edits_text", role="muted", wordWrap=True,
                   visible=False),
             button("ms_1_apply_btn", "apply_text", role="accent", minimumSize=("size", 0, 36)),
             spacing=10)

    buttons_panel = W("QFrame", "panel_button", role="panel", layout=V(
        section_header("ms_1_check_button", "buttons_text", extra=(
            button("ms_1_option_button_mode_1", "mode_1_text", role="segment", checkable=True,
                   checked=True, autoExclusive=True, **fixed(72, 24)),
            button("ms_1_option_button_mode_2", "mode_2_text", role="segment", checkable=True,
                   autoExclusive=True, **fixed(72, 24)))),
        W("QWidget", "ms_1_hor_button", layout=H(key_column(1, 9), key_column(10, 18), spacing=12)),
        Stretch(True),
        button("ms_1_btn_macro", "macro_editor_text", minimumSize=("size", 0, 32)),
        margins=10, spacing=10))

    settings = V(
        section_header("ms_1_check_dpi", "dpi_text"),
        W("QWidget", "ms_1_hor_dpi", layout=dpi_rows()),
        section_header("ms_1_check_light", "lighting_text"),
        W("QWidget", "ms_1_ver_light", layout=V(
            H(label("light_effect_label", "light_effect_text", role="row_label", **fixed(76, 22)),
              W("QComboBox", "ms_1_combo_light", resourcetext=True, combo=EFFECTS,
                sizeAdjustPolicy=("enum", "QComboBox::AdjustToMinimumContentsLengthWithIcon"),
                minimumContentsLength=6), spacing=8),
            slider_row("ms_1_hor_brightness", "brightness_text", "ms_1_slider_brightness", 1, 10),
            slider_row("ms_1_hor_breathspeed", "speed_text", "ms_1_slider_breathspeed", 0, 9),
            W("QWidget", "ms_1_hor_light_color", layout=H(
                label("light_color_label", "light_color_text", role="row_label", **fixed(76, 22)),
                button("ms_1_btn_light_color", key=False, role="swatch", **fixed(20, 20)),
                Stretch(), spacing=8)),
            margins=(4, 2, 4, 6), spacing=6)),
        section_header("ms_1_check_prate", "polling_rate_text"),
        W("QWidget", "ms_1_ver_prate", layout=V(
            H(*[button(f"ms_1_btn_prate_{n}", f"prate_{n}_text", role="segment", checkable=True,
                       autoExclusive=True, minimumSize=("size", 40, 26),
                       maximumSize=("size", 16777215, 26)) for n in range(1, 5)],
              spacing=4),
            label("ms_1_label_prate", "polling_rate_hint_text", role="muted"),
            margins=(4, 2, 4, 6), spacing=4)),
        section_header("ms_1_check_mouse_attribute", "mouse_attribute_text"),
        W("QWidget", "ms_1_ver_mouse_attribute", layout=V(
            H(label("sleep_timer_label", "sleep_timer_text", role="row_label", **fixed(76, 22)),
              W("QSlider", "ms_1_slider_sleep_timer", orientation=("enum", "Qt::Horizontal"),
                minimum=1, maximum=20, pageStep=1), spacing=8),
            label("ms_1_label_sleep_timer", "", key=False, role="muted",
                  alignment=("set", "Qt::AlignRight|Qt::AlignVCenter")),
            W("QCheckBox", "ms_1_check_movemode", text="move_mode_text", resourcetext=True),
            button("ms_1_btn_mouse_attribute", "system_mouse_settings_text",
                   minimumSize=("size", 0, 28)),
            margins=(4, 2, 4, 6), spacing=6)),
        Stretch(True),
        margins=(10, 10, 14, 10), spacing=8)

    scroll = W("QScrollArea", "settings_scroll", widgetResizable=True, role="panel",
               frameShape=("enum", "QFrame::NoFrame"),
               horizontalScrollBarPolicy=("enum", "Qt::ScrollBarAlwaysOff"),
               # Never wider than the panel: a text too long for it is elided instead.
               items=[W("QWidget", "settings_content", role="panel_content",
                        sizePolicy=("policy", "Ignored", "Preferred"), layout=settings)])

    device_page = W("QWidget", "device_tab_ms_1", layout=H(
        W("QWidget", "column_left", **fixed(204, 16777215), layout=left),
        W("QWidget", "column_buttons", **fixed(280, 16777215), layout=V(buttons_panel)),
        scroll, margins=(12, 10, 12, 12), spacing=10))

    no_device_page = W("QWidget", "device_tab_none", layout=V(
        Stretch(True),
        H(Stretch(),
          label("no_device_image", key=False, pixmap=("pixmap", "images/mouse.svg"),
                scaledContents=True, **fixed(96, 96)),
          Stretch()),
        label("no_device_label", "waiting_device_text", role="muted",
              alignment=("set", "Qt::AlignCenter")),
        Stretch(True), spacing=14))

    tabs = W("QStackedWidget", "device_tab_switch", currentIndex=0,
             items=[device_page, no_device_page])

    return W("QWidget", "main_form", geometry=("rect", 0, 0, 800, 572),
             minimumSize=("size", 800, 572), maximumSize=("size", 800, 572),
             windowTitle="", role="window",
             layout=V(caption, progress_row, tabs, spacing=0))


# ---------------------------------------------------------------- small windows

def dialog_caption(title_name, title_key, close_name=None):
    extra = []
    if close_name:
        extra.append(button(close_name, key=False, role="caption_close",
                            icon=("icon", "images/close.svg"), iconSize=("size", 14, 14),
                            **fixed(26, 26)))
    return W("QFrame", f"{title_name}_bar", caption=True, role="caption", **fixed(16777215, 38),
             layout=H(label(title_name, title_key, role="caption_title"), Stretch(), *extra,
                      margins=(14, 0, 6, 0)))


def ok_cancel_row():
    return H(Stretch(),
             button("btn_cancel", "cancel_text", minimumSize=("size", 88, 30)),
             button("btn_ok", "ok_text", role="accent", minimumSize=("size", 88, 30),
                    default=True),
             spacing=8)


def msg_form():
    return W("QFrame", "msg_form", geometry=("rect", 0, 0, 340, 180), role="dialog",
             minimumSize=("size", 340, 180), maximumSize=("size", 340, 180), layout=V(
        dialog_caption("warning_title", "warning_title_text"),
        # A message longer than the box's room scrolls.
        W("QScrollArea", "warning_scroll", widgetResizable=True, role="message_scroll",
          frameShape=("enum", "QFrame::NoFrame"), focusPolicy=("enum", "Qt::NoFocus"),
          horizontalScrollBarPolicy=("enum", "Qt::ScrollBarAlwaysOff"),
          items=[W("QWidget", "warning_content", layout=V(
              label("warning", "warning_title_text", wordWrap=True, role="message",
                    alignment=("set", "Qt::AlignLeft|Qt::AlignTop"), margin=16),
              margins=0))]),
        H(Stretch(),
          button("btn_cancel", "cancel_text", minimumSize=("size", 88, 30)),
          button("btn_ok", "ok_text", role="accent", minimumSize=("size", 88, 30), default=True),
          margins=(14, 0, 14, 14), spacing=8),
        spacing=0))


def profilename_form():
    return W("QFrame", "profilename_form", geometry=("rect", 0, 0, 340, 170), role="dialog",
             minimumSize=("size", 340, 170), maximumSize=("size", 340, 170), layout=V(
        dialog_caption("title_string", "profile_name_1_text", close_name="btn_exit"),
        W("QWidget", "profilename_body", layout=V(
            label("edit_name_label", "profile_name_label_text", role="muted"),
            W("QLineEdit", "edit_name", maxLength=49, minimumSize=("size", 0, 30)),
            Stretch(True),
            ok_cancel_row(),
            margins=(14, 10, 14, 14), spacing=6)),
        spacing=0))


def shortcut_form():
    flags = [W("QCheckBox", f"check_flag_{n}", text=key, resourcetext=True)
             for n, key in enumerate(("keyboard_ctrl_text", "keyboard_shift_text",
                                      "keyboard_alt_text", "keyboard_win_text"), start=1)]
    return W("QFrame", "shortcut_form", geometry=("rect", 0, 0, 360, 230), role="dialog",
             minimumSize=("size", 360, 230), maximumSize=("size", 360, 230), layout=V(
        dialog_caption("shortcut_title", "shortcut_title_text", close_name="btn_exit"),
        W("QWidget", "shortcut_body", layout=V(
            label("shortcut_modifiers_label", "shortcut_modifiers_text", role="muted"),
            H(*flags, Stretch(), spacing=14),
            label("edit_key_label", "shortcut_key_text", role="muted"),
            W("QLineEdit", "edit_key", readOnly=True, minimumSize=("size", 0, 30)),
            Stretch(True),
            ok_cancel_row(),
            margins=(14, 10, 14, 14), spacing=6)),
        spacing=0))


def dpimsg_form():
    return W("QFrame", "dpimsg_form", geometry=("rect", 0, 0, 200, 50), role="indicator",
             minimumSize=("size", 200, 50), maximumSize=("size", 200, 50), layout=H(
        label("dpi_icon", key=False, pixmap=("pixmap", "images/dpi.svg"), scaledContents=True,
              **fixed(22, 22)),
        label("dpi_label", "", key=False, role="indicator_value",
              alignment=("set", "Qt::AlignCenter")),
        margins=(14, 0, 14, 0), spacing=8))


def dpicolor_form():
    def component(name, key):
        return H(label(f"{name}_label", key, role="row_label", **fixed(14, 24)),
                 W("QLineEdit", name, maxLength=4, minimumSize=("size", 0, 24),
                   maximumSize=("size", 16777215, 24)), spacing=4)

    def swatch_row(first):
        return H(*[button(f"mouse_dpi_color_{n}", key=False, role="preset", **fixed(22, 14))
                   for n in range(first, first + 8)], Stretch(), spacing=6)

    return W("QFrame", "dpicolor_form", geometry=("rect", 0, 0, 250, 250), role="dialog",
             minimumSize=("size", 250, 250), maximumSize=("size", 250, 250), layout=V(
        label("dpicolor_title", key=False, role="row_label", minimumSize=("size", 0, 18)),
        H(W("ColorPalette", "ColorPallet", **fixed(132, 104)),
          V(label("color_show_control", key=False, role="color_preview", **fixed(88, 22)),
            component("r_edit", "red_text"), component("g_edit", "green_text"),
            component("b_edit", "blue_text"), spacing=4),
          spacing=8),
        swatch_row(1), swatch_row(9),
        W("QCheckBox", "dpicolor_same_check", text="dpi_color_same_text", resourcetext=True,
          checked=True, minimumSize=("size", 0, 20)),
        H(Stretch(),
          button("cancel_btn", "cancel_text", minimumSize=("size", 72, 26)),
          button("confirm_btn", "ok_text", role="accent", minimumSize=("size", 72, 26),
                 default=True),
          spacing=6),
        margins=8, spacing=6))


# ---------------------------------------------------------------- macro windows

MOUSE_BUTTON_KEYS = ("L_Button", "R_Button", "M_Button", "Forward_Button", "Backward_Button")


def delay_row(label_name, label_key, edit_name):
    return H(label(label_name, label_key, role="row_label", **fixed(80, 22)),
             W("QLineEdit", edit_name, maxLength=5, minimumSize=("size", 0, 28)),
             label(f"{edit_name}_unit", "milliseconds_text", role="muted"), spacing=6)


def step_editor_pages():
    empty = W("QWidget", "step_page_empty", layout=V(
        label("step_editor_hint", "step_editor_hint_text", role="muted", wordWrap=True),
        Stretch(True), margins=0))
    keyboard = W("QWidget", "step_page_keyboard", layout=V(
        H(label("step_key_label", "step_key_text", role="row_label", **fixed(80, 22)),
          W("QLineEdit", "ms_1_macro_action_edit", readOnly=True, minimumSize=("size", 0, 28)),
          spacing=6),
        delay_row("step_delay_label", "step_delay_text", "ms_1_macro_delay_edit"),
        Stretch(True), margins=0, spacing=6))
    mouse = W("QWidget", "step_page_mouse", layout=V(
        H(label("step_button_label", "step_button_text", role="row_label", **fixed(80, 22)),
          W("QComboBox", "ms_1_macro_mouse_action_combo", resourcetext=True,
            combo=MOUSE_BUTTON_KEYS), spacing=6),
        delay_row("step_mouse_delay_label", "step_delay_text",
                  "ms_1_macro_mouseaction_delay_edit"),
        Stretch(True), margins=0, spacing=6))
    return W("QStackedWidget", "ms_1_macro_action_edit_tab", currentIndex=0,
             minimumSize=("size", 0, 70), items=[empty, keyboard, mouse])


def macro_list_column():
    return W("QWidget", "macro_list_column", **fixed(190, 16777215), layout=V(
        label("macro_list_label", "macro_list_text", role="row_label"),
        W("QListWidget", "ms_1_macro_list"),
        H(button("ms_1_macro_add_btn", "add_text", role="small"),
          button("ms_1_macro_delete_btn", "delete_text", role="small"), spacing=4),
        H(button("ms_1_macro_import_btn", "import_text", role="small"),
          button("ms_1_macro_export_btn", "export_text", role="small"), spacing=4),
        margins=0, spacing=6))


def macro_steps_column():
    name_tab = W("QWidget", "ms_1_macro_name_tab", layout=H(
        label("macro_name_label", "macro_name_text", role="row_label"),
        W("QLineEdit", "ms_1_macro_name_edit", maxLength=23, minimumSize=("size", 0, 28)),
        margins=0, spacing=6))
    mouse_tab = W("QWidget", "ms_1_macro_mouse_event_tab", visible=False, layout=H(
        *[button(f"ms_1_macro_key{n}_btn", key, role="small", minimumSize=("size", 0, 28))
          for n, key in enumerate(MOUSE_BUTTON_KEYS, start=1)],
        margins=0, spacing=4))
    header = W("QWidget", "step_list_header", layout=H(
        label("step_header_key", "step_key_text", role="muted", **fixed(150, 18)),
        label("step_header_action", "step_action_text", role="muted"),
        Stretch(),
        label("step_header_delay", "step_delay_ms_text", role="muted",
              alignment=("set", "Qt::AlignRight|Qt::AlignVCenter")),
        margins=(10, 0, 22, 0), spacing=6))
    return V(
        W("QWidget", "macro_top_row", **fixed(16777215, 30), layout=V(name_tab, mouse_tab,
                                                                      margins=0, spacing=0)),
        header,
        W("QListWidget", "ms_1_macro_action_list", role="steps"),
        H(button("ms_1_macro_up_btn", "move_up_text", role="small"),
          button("ms_1_macro_down_btn", "move_down_text", role="small"),
          button("ms_1_macro_delete_action_btn", "delete_step_text", role="small"),
          button("ms_1_macro_clear_action_btn", "clear_steps_text", role="small"), spacing=4),
        label("macro_steps_note", "", key=False, wordWrap=True, role="warning", visible=False),
        margins=0, spacing=6)


def macro_tools_column():
    delay_modes = W("QWidget", "delay_mode_group", layout=V(
        W("QRadioButton", "ms_1_record_delay_btn", text="record_delay_text", resourcetext=True),
        H(W("QRadioButton", "ms_1_default_delay_btn", text="default_delay_text",
            resourcetext=True, checked=True),
          W("QLineEdit", "ms_1_default_delay_edit", text="10", maxLength=5,
            **fixed(64, 26)), Stretch(), spacing=6),
        W("QRadioButton", "ms_1_no_delay_btn", text="no_delay_text", resourcetext=True),
        margins=0, spacing=6))
    return W("QWidget", "macro_tools_column", **fixed(250, 16777215), layout=V(
        W("QCheckBox", "ms_1_macro_record_btn", text="start_recording_text", resourcetext=True,
          role="record", minimumSize=("size", 0, 34)),
        # Takes the room left over: its texts are long in every language.
        label("macro_capture_note", "", key=False, wordWrap=True, role="warning",
              alignment=("set", "Qt::AlignLeft|Qt::AlignTop"),
              sizePolicy=("policy", "Preferred", "Expanding")),
        W("QCheckBox", "ms_1_macro_insert_mouse_btn", text="insert_mouse_text",
          resourcetext=True),
        label("delay_mode_label", "delay_mode_text", role="row_label"),
        delay_modes,
        W("QCheckBox", "ms_1_macro_action_edit_check", text="edit_step_text", resourcetext=True),
        step_editor_pages(),
        H(Stretch(),
          button("ms_1_macro_cancel_btn", "cancel_text", minimumSize=("size", 80, 28)),
          button("ms_1_macro_save_btn", "save_text", role="accent", minimumSize=("size", 80, 28)),
          spacing=8),
        margins=0, spacing=8))


def macropage_form():
    return W("QFrame", "macropage_form", geometry=("rect", 0, 0, 780, 520), role="dialog",
             minimumSize=("size", 780, 520), maximumSize=("size", 780, 520), layout=V(
        dialog_caption("macro_title", "macro_editor_text", close_name="btn_exit"),
        W("QWidget", "macro_body", layout=H(
            macro_list_column(), macro_steps_column(), macro_tools_column(),
            margins=(14, 10, 14, 14), spacing=14)),
        spacing=0))


def keylistitem_form():
    def part(name, **props):
        return W("QToolButton", name, role="step_part", focusPolicy=("enum", "Qt::NoFocus"),
                 toolButtonStyle=("enum", "Qt::ToolButtonTextBesideIcon"),
                 iconSize=("size", 18, 18), **props)
    return W("QWidget", "keylistitem", geometry=("rect", 0, 0, 300, 30), role="step_row",
             layout=H(part("key", **fixed(150, 26)),
                      part("action", resourcetext=True),
                      Stretch(),
                      label("delay", "", key=False, role="value",
                            alignment=("set", "Qt::AlignRight|Qt::AlignVCenter")),
                      margins=(6, 0, 10, 0), spacing=6))


def selectmacro_form():
    repeats = [W("QRadioButton", f"repeat_{n}", text=f"repeat_{n}_text", resourcetext=True)
               for n in range(1, 4)]
    return W("QFrame", "selectmacro_form", geometry=("rect", 0, 0, 360, 400), role="dialog",
             minimumSize=("size", 360, 400), maximumSize=("size", 360, 400), layout=V(
        dialog_caption("select_macro_title", "select_macro_title_text", close_name="btn_exit"),
        W("QWidget", "selectmacro_body", layout=V(
            label("list_macro_label", "macro_list_text", role="muted"),
            W("QListWidget", "list_macro"),
            label("repeat_label", "repeat_mode_text", role="muted"),
            W("QWidget", "repeat_group", layout=V(*repeats, margins=0, spacing=6)),
            W("QWidget", "hor_loop_time", layout=H(
                label("loop_time_label", "loop_count_text", role="row_label"),
                W("QLineEdit", "edit_loop_time", maxLength=3, **fixed(64, 28)),
                label("loop_time_range", "loop_count_range_text", role="muted"),
                Stretch(), margins=0, spacing=6)),
            ok_cancel_row(),
            margins=(14, 10, 14, 14), spacing=6)),
        spacing=0))


if __name__ == "__main__":
    write_form("main.xml", "main", main_form())
    write_form("msg.xml", "msg", msg_form())
    write_form("MS/MS_1/profilename.xml", "profilename", profilename_form())
    write_form("DPImsg.xml", "DPImsg", dpimsg_form())
    write_form("shortcut.xml", "shortcut", shortcut_form())
    write_form("DpiColorDialog.xml", "DpiColorDialog", dpicolor_form())


    write_form("MS/MS_1/ms_1_macropage.xml", "ms_1_macropage", macropage_form())
    write_form("keylistitem.xml", "keylistitem", keylistitem_form())
    write_form("MS/MS_1/selectmacro.xml", "selectmacro", selectmacro_form())
