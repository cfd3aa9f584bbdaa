#include "ui/layout.h"

#include <algorithm>

namespace ui::layout {

bool IsFocusable(const ControlDesign &control)
{
    return control.kind == Kind::TextBox || control.kind == Kind::CommandButton;
}

std::vector<const ControlDesign *> TabOrder(const WindowDesign &window)
{
    std::vector<const ControlDesign *> order;
    for (const ControlDesign &control : window.controls)
        if (IsFocusable(control))
            order.push_back(&control);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlDesign *a, const ControlDesign *b) { return a->tabIndex < b->tabIndex; });
    return order;
}

const ControlDesign *Find(const WindowDesign &window, std::string_view name)
{
    for (const ControlDesign &control : window.controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

Rect WindowRect(const WindowDesign &window, const ControlDesign &control)
{
    Rect rect = control.rect;
    if (const ControlDesign *container = control.container.empty() ? nullptr : Find(window, control.container)) {
        const Rect outer = WindowRect(window, *container);
        rect.left += outer.left;
        rect.top += outer.top;
    }
    return rect;
}

std::u16string ShownCaption(std::u16string_view caption)
{
    std::u16string shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown.push_back(caption[i]);
    }
    return shown;
}

} // namespace ui::layout
