// Processor faults become calls of the registered error handler.
//
// The handlers run on an alternate stack, so a stack overflow can still be reported. They call the
// registered handler directly from the signal context: the game's handler writes its record with
// the ordinary file operations (any question waits for the frame loop). That is not strictly
// async-signal-safe; it is safe enough because the faults come from game code, and a second fault
// while a handler runs ends the process at once instead of recursing.
#include "platform/platform.h"

#include <dlfcn.h>
#include <pthread.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <cstring>

namespace tessera {

namespace {

constexpr int FAULT_EXIT_STATUS = 3;
constexpr size_t ALTERNATE_STACK_SIZE = 256 * 1024;
// A fault this close below the lowest stack page counts as running into the stack's guard.
constexpr uintptr_t STACK_GUARD_REACH = 1024 * 1024;

constexpr uint32_t FAULT_NONCONTINUABLE = 0xC0000025;
constexpr uint32_t FAULT_INVALID_DISPOSITION = 0xC0000026;
constexpr uint32_t FAULT_INVALID_HANDLE = 0xC0000008;
constexpr uint32_t FAULT_DLL_INIT_FAILED = 0xC0000142;
constexpr uint32_t FAULT_FLOAT_DENORMAL_OPERAND = 0xC000008D;
constexpr uint32_t FAULT_FLOAT_INEXACT_RESULT = 0xC000008F;
constexpr uint32_t FAULT_FLOAT_OVERFLOW = 0xC0000091;
constexpr uint32_t FAULT_FLOAT_STACK_CHECK = 0xC0000092;
constexpr uint32_t FAULT_FLOAT_UNDERFLOW = 0xC0000093;
constexpr uint32_t FAULT_INT_OVERFLOW = 0xC0000095;
constexpr uint32_t FAULT_CONTROL_C_EXIT = 0xC000013A;
constexpr uint32_t FAULT_SINGLE_STEP = 0x80000004;

struct FaultText {
  uint32_t code;
  const char* text;
};

const FaultText fault_texts[] = {
    {FAULT_INT_DIVIDE_BY_ZERO, "Attempted division by zero"},
    {FAULT_ACCESS_VIOLATION, "An attemped read or write to/from an address to which that process isn't allowed"},
    {FAULT_PRIVILEGED_INSTRUCTION,
     "The instruction is not allowed in the current ring (inport, outport & control register manipulation "
     "usually)"},
    {FAULT_ILLEGAL_INSTRUCTION, "Try to execute an invalid instruction -such as MMX opcodes on a non MMX system"},
    {FAULT_NONCONTINUABLE,
     "The exception filter returned EXCEPTION_CONTINUE_EXCEPTION when the exception raised isn't restartable"},
    {FAULT_STACK_OVERFLOW,
     "Stack overflow.Can occur during errant recursion, or when a function creates a particularly large array "
     "on the stack."},
    {FAULT_INVALID_DISPOSITION,
     "INVALID_DISPOSITION Whatever number the exception filter returned, it wasn't a value the OS knows about."},
    {FAULT_INVALID_HANDLE,
     "INVALID_HANDLE The API call was passed a handle to a kernel object which was invalid -usually because "
     "that handle has already been closed."},
    {FAULT_DLL_INIT_FAILED, "EXCEPTION_DLL_Initialisation_Failure raised when DllMain() returns false (?)"},
    {FAULT_FLOAT_DENORMAL_OPERAND,
     "FLOAT_DENORMAL_OPERAND One of the operands in a floating-point operation is too small to be represented "
     "in a floating-point value."},
    {FAULT_FLOAT_DIVIDE_BY_ZERO, "FLOAT_DIVIDE_BY_ZERO The thread tried to divide a floating-point value by zero."},
    {FAULT_FLOAT_INEXACT_RESULT,
     "FLOAT_INEXACT_RESULT The accuracy of the last floating point operation is worse than usual as it is "
     "impossible to represent in the float accurately,"},
    {FAULT_FLOAT_INVALID, "FLOAT_INVALID_OPERATION Any other floating-point exception."},
    {FAULT_FLOAT_OVERFLOW, "FLOAT_OVERFLOW The result was too big to represent"},
    {FAULT_FLOAT_STACK_CHECK,
     "FLOAT_STACK_CHECK A floating point stack overflowed or underflow. This related to the baroque design of "
     "the floating point unit."},
    {FAULT_FLOAT_UNDERFLOW, "FLT_UNDERFLOW The result was too small to represent"},
    {FAULT_CONTROL_C_EXIT, "CONTROL_C_EXIT Lets the debugger know the user hit Ctrl-C. "},
    {FAULT_BREAKPOINT, "BREAKPOINT A breakpoint was encountered."},
    {FAULT_SINGLE_STEP,
     "SINGLE_STEP The CPU has signalled that one instruction has been executed.Only of interest to Debuggers"},
};

const int fault_signals[] = {SIGFPE, SIGSEGV, SIGBUS, SIGILL, SIGTRAP};

ErrorHandler registered_handler = nullptr;
bool handlers_installed = false;
alignas(16) char alternate_stack[ALTERNATE_STACK_SIZE];

volatile sig_atomic_t handling_fault = 0;
volatile uint32_t current_fault = FAULT_NONE;
const void* volatile fault_address = nullptr;  // the faulting instruction, when known

const char* volatile position_file = nullptr;
volatile int32_t position_line = 0;

sigjmp_buf recovery_buffer;
volatile sig_atomic_t recovery_armed = 0;

uintptr_t stack_lowest = 0;  // lowest address of the game thread's stack, 0 when unknown

void write_stderr(const char* text) {
  const ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
  (void)ignored;
}

void remember_stack_bounds() {
  pthread_attr_t attributes;
  if (pthread_getattr_np(pthread_self(), &attributes) != 0) return;
  void* address = nullptr;
  size_t size = 0;
  if (pthread_attr_getstack(&attributes, &address, &size) == 0) stack_lowest = reinterpret_cast<uintptr_t>(address);
  pthread_attr_destroy(&attributes);
}

bool near_stack_guard(const void* address) {
  if (stack_lowest == 0) return false;
  const uintptr_t a = reinterpret_cast<uintptr_t>(address);
  return a < stack_lowest + 4096 && a + STACK_GUARD_REACH >= stack_lowest;
}

uint32_t fpe_fault(int code) {
  switch (code) {
    case FPE_INTDIV: return FAULT_INT_DIVIDE_BY_ZERO;
    case FPE_INTOVF: return FAULT_INT_OVERFLOW;
    case FPE_FLTDIV: return FAULT_FLOAT_DIVIDE_BY_ZERO;
    case FPE_FLTOVF: return FAULT_FLOAT_OVERFLOW;
    case FPE_FLTUND: return FAULT_FLOAT_UNDERFLOW;
    case FPE_FLTRES: return FAULT_FLOAT_INEXACT_RESULT;
    case FPE_FLTINV: return FAULT_FLOAT_INVALID;
    default: return FAULT_FLOAT_INVALID;
  }
}

uint32_t fault_code_for(int signal_number, const siginfo_t* info) {
  switch (signal_number) {
    case SIGFPE: return fpe_fault(info->si_code);
    case SIGSEGV:
      return near_stack_guard(info->si_addr) ? FAULT_STACK_OVERFLOW : FAULT_ACCESS_VIOLATION;
    case SIGBUS: return FAULT_ACCESS_VIOLATION;
    case SIGILL:
      return (info->si_code == ILL_PRVOPC || info->si_code == ILL_PRVREG) ? FAULT_PRIVILEGED_INSTRUCTION
                                                                         : FAULT_ILLEGAL_INSTRUCTION;
    case SIGTRAP: return info->si_code == TRAP_TRACE ? FAULT_SINGLE_STEP : FAULT_BREAKPOINT;
    default: return FAULT_NONE;
  }
}

const void* instruction_address(int signal_number, const siginfo_t* info, const void* context) {
  // For these signals the kernel reports the faulting instruction itself.
  if (signal_number == SIGFPE || signal_number == SIGILL) return info->si_addr;
  const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
  return reinterpret_cast<const void*>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
  return reinterpret_cast<const void*>(uc->uc_mcontext.pc);
#else
  (void)uc;
  return nullptr;
#endif
}

void on_fault(int signal_number, siginfo_t* info, void* context) {
  if (handling_fault != 0) {
    write_stderr("fatal: a second processor fault while reporting one\n");
    _exit(FAULT_EXIT_STATUS);
  }
  handling_fault = 1;
  current_fault = fault_code_for(signal_number, info);
  fault_address = instruction_address(signal_number, info, context);
  if (registered_handler != nullptr) registered_handler();

  const bool recoverable = current_fault == FAULT_INT_DIVIDE_BY_ZERO;
  current_fault = FAULT_NONE;
  fault_address = nullptr;
  handling_fault = 0;
  if (recoverable && recovery_armed != 0) siglongjmp(recovery_buffer, 1);
  // Going on after any other fault would run on with corrupted state.
  _exit(FAULT_EXIT_STATUS);
}

void install_handlers() {
  remember_stack_bounds();
  stack_t stack{};
  stack.ss_sp = alternate_stack;
  stack.ss_size = sizeof alternate_stack;
  stack.ss_flags = 0;
  sigaltstack(&stack, nullptr);

  struct sigaction action {};
  action.sa_sigaction = on_fault;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  sigemptyset(&action.sa_mask);
  for (int signal_number : fault_signals) sigaction(signal_number, &action, nullptr);
  handlers_installed = true;
}

const char* base_name(const char* path) {
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return name;
}

}  // namespace

void error_handler_register(ErrorHandler handler) {
  registered_handler = handler;
  // A WebAssembly trap ends the module whatever a handler would do; the page reports it.
  if (!handlers_installed && !PLATFORM_WEB) install_handlers();
}

std::string error_message_for(uint32_t code) {
  if (code == FAULT_NONE) return "No Error";
  for (const FaultText& entry : fault_texts) {
    if (entry.code == code) return entry.text;
  }
  return "UNKNOWN Error";
}

std::string error_message() { return error_message_for(current_fault); }

// The last recorded position names the source file; without one, the binary or library that
// holds the faulting instruction is the best name there is.
std::string error_file() {
  if (position_file != nullptr) return base_name(position_file);
  Dl_info info{};
  if (fault_address != nullptr && dladdr(fault_address, &info) != 0 && info.dli_fname != nullptr &&
      info.dli_fname[0] != '\0') {
    return base_name(info.dli_fname);
  }
  return "Main Module";
}

int32_t error_line() { return position_file != nullptr ? position_line : 0; }

void error_position(const char* file, int32_t line) {
  position_file = file;
  position_line = file != nullptr ? line : 0;
}

sigjmp_buf* fault_recovery_buffer() { return &recovery_buffer; }

void fault_recovery_arm(bool armed) { recovery_armed = armed ? 1 : 0; }

}  // namespace tessera
