#include "ui/layout.h"

#include <algorithm>

namespace ui::layout {

bool isFocusable(const ControlDesign &control)
{
    return control.kind == Kind::TextBox || control.kind == Kind::CommandButton;
}

std::vector<const ControlDesign *> tabOrder(const WindowDesign &window)
{
    std::vector<const ControlDesign *> order;
    for (const ControlDesign &control : window.controls)
        if (isFocusable(control))
            order.push_back(&control);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlDesign *a, const ControlDesign *b) { return a->tabIndex < b->tabIndex; });
    return order;
}

const ControlDesign *find(const WindowDesign &window, std::string_view name)
{
    for (const ControlDesign &control : window.controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

Rect windowRect(const WindowDesign &window, const ControlDesign &control)
{
    Rect rect = control.rect;
    if (const ControlDesign *container = control.container.empty() ? nullptr : find(window, control.container)) {
        const Rect outer = windowRect(window, *container);
        rect.left += outer.left;
        rect.top += outer.top;
    }
    return rect;
}

std::u16string shownCaption(std::u16string_view caption)
{
    std::u16string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown.push_back(caption[i]);
    }
    return shown;
}

namespace {

char16_t lowerCase(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// The length of the line break at `i`: a lone carriage return or line
// feed, or CR LF; 0 when there is none.
std::size_t lineBreakLength(std::u16string_view caption, std::size_t i)
{
    if (caption[i] == u'\n')
        return 1;
    if (caption[i] != u'\r')
        return 0;
    return i + 1 < caption.size() && caption[i + 1] == u'\n' ? 2 : 1;
}

} // namespace

char16_t accessKey(std::u16string_view caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] != u'&')
            return lowerCase(caption[i + 1]);
        ++i; // "&&" is a shown ampersand
    }
    return 0;
}

std::u16string withLineBreaks(std::u16string_view caption, std::u16string_view lineBreak)
{
    // Measured first and then filled in place: nothing can fail while the
    // text is being built, which keeps the WebAssembly module small.
    std::size_t size = 0;
    for (std::size_t i = 0; i < caption.size(); ++size) {
        const std::size_t length = lineBreakLength(caption, i);
        size += length ? lineBreak.size() - 1 : 0;
        i += length ? length : 1;
    }
    std::u16string text(size, u'\0');
    auto out = text.begin();
    for (std::size_t i = 0; i < caption.size();) {
        if (const std::size_t length = lineBreakLength(caption, i)) {
            out = std::copy(lineBreak.begin(), lineBreak.end(), out);
            i += length;
        } else {
            *out++ = caption[i++];
        }
    }
    return text;
}

char16_t ctrlLetter(const MenuEntry &entry)
{
    return lowerCase(entry.ctrlKey);
}

std::vector<DropDown> menuBar(const WindowDesign &window)
{
    std::vector<DropDown> bar;
    for (std::size_t i = 0; i < window.menus.size(); ++i) {
        const MenuEntry &entry = window.menus[i];
        if (entry.parent.empty()) {
            bar.push_back({&entry, {}});
            continue;
        }
        for (DropDown &menu : bar) {
            if (menu.title->name != entry.parent)
                continue;
            std::u16string shortcut;
            if (entry.ctrlKey)
                shortcut = std::u16string(u"Ctrl+") + entry.ctrlKey;
            menu.lines.push_back({&entry, i, entry.caption == u"-", std::move(shortcut)});
        }
    }
    return bar;
}

} // namespace ui::layout
