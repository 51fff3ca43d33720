// Message box and failure helpers shared by the readers.
#include "ReadContext.h"

namespace lumio::detail {

Answer showMessage(ReadContext& ctx, const std::string& message, Icon icon, Buttons buttons) {
    return ctx.ui.message(ctx.record.fileName + message, kCaptionDataFormat, icon, buttons);
}

void fail(const char* keyword) {
    throw Outcome(keyword);
}

}  // namespace lumio::detail
