// The console handler: records on the standard output stream, converted
// into the code set of the user's locale by the toolkit's printing.
#include <cstdio>

#include "core/object.h"
#include "messages/i18msg.h"
#include "lumex/output.h"
#include "output/handler_base.h"

namespace {

// The private variables: one byte, 1 while the header is written.
unsigned char *headerFlag(Object *handler) {
  return handler != nullptr ? static_cast<unsigned char *>(handler->vars) : nullptr;
}

// The printing converts into the console's code set itself, so the sink
// asks the base for no conversion. Each record is flushed, so that a record
// written to a pipe or a file is not lost when the program dies.
bool consoleWrite(Object *, const char *bytes, uint32_t) {
  lmxI18PrintUTF8AsLocal(stdout, bytes);
  return std::fflush(stdout) == 0;
}

bool consolePrepare(Object *handler);

const lmx::HandlerSink kConsoleSink = {consolePrepare, nullptr, consoleWrite};

bool consolePrepare(Object *handler) {
  unsigned char *flag = headerFlag(handler);
  if (*flag == 0) {
    lmx::handlerWriteHeader(handler, kConsoleSink);
    *flag = 1;
  }
  return true;
}

}  // namespace

extern "C" {

void *LmxConsoleHandlerFAllocVars(void) {
  auto *flag = static_cast<unsigned char *>(BasMemoryMalloc(1));
  if (flag != nullptr) *flag = 0;
  return flag;
}

void LmxConsoleHandlerFFreeVars(void *vars) {
  if (vars != nullptr) BasMemoryFree(vars);
}

void LmxConsoleHandlerFProcess(Object *handler, Event *event) {
  lmx::handlerProcess(handler, event, kConsoleSink);
}

// Open and close do not look at the enabled flag: a disabled console still
// writes its header and trailer.
void LmxConsoleHandlerFOpen(Object *handler) {
  unsigned char *flag = headerFlag(handler);
  if (flag == nullptr || *flag == 1) return;
  lmx::handlerWriteHeader(handler, kConsoleSink);
  *flag = 1;
}

void LmxConsoleHandlerFClose(Object *handler) {
  unsigned char *flag = headerFlag(handler);
  if (flag == nullptr || *flag == 0) return;
  lmx::handlerWriteTrailer(handler, kConsoleSink);
  *flag = 0;
}

}  // extern "C"
