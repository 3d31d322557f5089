#include "framework/CommandGuard.h"

#include "platform/Ui.h"

#include <exception>
#include <new>
#include <string>

namespace lumetra {

void ShowEscapedException(Ui& ui) {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        ui.MessageBox(kEscapedOutOfMemory, Ui::Buttons::Ok, Ui::Icon::Stop);
    } catch (const std::exception& e) {
        ui.MessageBox(std::string(kCommandFailed) + "\n" + e.what(), Ui::Buttons::Ok,
                      Ui::Icon::Stop);
    } catch (...) {
        ui.MessageBox(kCommandFailed, Ui::Buttons::Ok, Ui::Icon::Stop);
    }
}

} // namespace lumetra
