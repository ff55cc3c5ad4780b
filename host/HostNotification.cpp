#include "host/HostNotification.h"

#include "host/RuntimeError.h"

#include <string>

namespace nm {

void NotifyHost(Prompter& prompter, HostLink& host, bool quiet) {
    try {
        {
            BusyPointer busy(prompter);
            host.RequestReinit();
        }
        if (!quiet)
            prompter.Message("你的 Vectrom 热键被保存并且当前 Vectrom 进程被更新.",
                             Icon::Information);
    } catch (const RuntimeError& error) {
        if (error.Number() == Err::CannotCreateObject) {
            prompter.Message("你的 Vectrom 热键被保存并且对你下一个 Vectrom 进程发生作用.",
                             Icon::Information);
        } else if (!quiet) {
            prompter.Message("你的改变被保存, 但当前 Vectrom 进程不能更新.\r\n\r\n"
                             "请用 Vectrom REINIT 命令更新你的热键.\r\n(Error " +
                                 std::to_string(error.Number()) + "), " + error.Description(),
                             Icon::Exclamation);
        }
    }
}

} // namespace nm
