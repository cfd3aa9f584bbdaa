#include "ui/layout.h"

#include <algorithm>

namespace ui::layout {

bool IsFocusable(const ControlSpec &control)
{
    return control.kind == Kind::TextBox || control.kind == Kind::CommandButton;
}

std::vector<const ControlSpec *> TabOrder(const WindowSpec &window)
{
    std::vector<const ControlSpec *> order;
    for (const ControlSpec &control : window.controls)
        if (IsFocusable(control))
            order.push_back(&control);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlSpec *a, const ControlSpec *b) { return a->tabIndex < b->tabIndex; });
    return order;
}

const ControlSpec *Find(const WindowSpec &window, std::string_view name)
{
    for (const ControlSpec &control : window.controls)
        if (control.name == name)
            return &control;
    return nullptr;
}

Rect WindowRect(const WindowSpec &window, const ControlSpec &control)
{
    Rect rect = control.rect;
    if (const ControlSpec *container = control.container.empty() ? nullptr : Find(window, control.container)) {
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
