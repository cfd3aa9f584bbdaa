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

std::vector<std::u16string_view> lines(std::u16string_view caption)
{
    std::vector<std::u16string_view> result;
    std::size_t start = 0;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'\r' && caption[i] != u'\n')
            continue;
        result.push_back(caption.substr(start, i - start));
        if (caption[i] == u'\r' && i + 1 < caption.size() && caption[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    result.push_back(caption.substr(start));
    return result;
}

std::u16string withLineBreaks(std::u16string_view caption, std::u16string_view lineBreak)
{
    const std::vector<std::u16string_view> split = lines(caption);
    std::u16string text(split.front());
    for (std::size_t i = 1; i < split.size(); ++i)
        (text += lineBreak) += split[i];
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
