#pragma once

#include <functional>

namespace runtime {
class Error;
}

namespace ui {

class Forms;

// What both window classes share: the lifecycle they belong to and the one
// error dispatch. Every entry from a toolkit (a router, a load or unload)
// runs through Run(), so no error ever unwinds into the toolkit: an error
// abandons the procedure and its callers and becomes a message, and the
// program goes on. After the program's end nothing runs.
class Form {
public:
    explicit Form(Forms &forms) : m_forms(forms) { }
    virtual ~Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    void Run(const std::function<void()> &procedure);

protected:
    // Shows an error that a procedure raised and none trapped.
    virtual void present(const runtime::Error &error);

    Forms &m_forms;
};

} // namespace ui
