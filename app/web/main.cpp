#include "app/web/web_program.h"

// The module starts the program as the page loads and returns: from then on
// the page calls in with its events, and the program lives as long as the
// page (the runtime does not exit when main returns).
int main()
{
    static app::WebProgram program;
    program.start();
    return 0;
}
