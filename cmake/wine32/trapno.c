/*
 * Preloaded into 32-bit Wine processes that run under qemu's user-mode
 * emulation. qemu leaves the trap number of an i386 signal frame at -1, and
 * Wine's 32-bit signal handler decides on it what exception to raise: every
 * access violation or breakpoint would become an illegal instruction, and
 * structured exception handling would break. This library wraps sigaction so
 * that the handlers Wine installs for the fault signals first fill the trap
 * number in, from the signal and its si_code, as the kernel would have.
 *
 * Built freestanding (no i386 headers are installed on a 64-bit machine), so
 * the few i386 glibc and kernel layouts it needs are spelt out here.
 */

#define SIGILL 4
#define SIGTRAP 5
#define SIGBUS 7
#define SIGFPE 8
#define SIGSEGV 11
#define MAX_SIGNAL 65
#define SA_SIGINFO 4
#define RTLD_NEXT ((void *)-1l)

typedef void (*handler_fn)(int, void *, void *);

/* glibc's struct sigaction on i386. */
struct sigaction_i386 {
    handler_fn handler;
    unsigned long mask[32];
    int flags;
    void (*restorer)(void);
};

/* Offsets into siginfo_t and ucontext_t on i386. */
#define SI_CODE 2           /* ints: si_signo, si_errno, si_code */
#define UC_GREGS_OFFSET 20  /* uc_flags, uc_link, uc_stack (12 bytes), then gregs */
#define REG_TRAPNO 12

extern void *dlsym(void *handle, const char *name);

typedef int (*sigaction_fn)(int, const struct sigaction_i386 *, struct sigaction_i386 *);
static sigaction_fn real_sigaction;
static handler_fn wine_handlers[MAX_SIGNAL];

static int watched(int sig)
{
    return sig == SIGSEGV || sig == SIGBUS || sig == SIGILL || sig == SIGFPE || sig == SIGTRAP;
}

/* The trap number the kernel would report for this signal and si_code. */
static int trap_number(int sig, int code)
{
    switch (sig) {
    case SIGSEGV: return (code == 1 || code == 2) ? 14 : 13;  /* page fault : protection fault */
    case SIGBUS: return code == 1 ? 17 : 14;                  /* alignment check : page fault */
    case SIGILL: return 6;                                    /* invalid opcode */
    case SIGFPE: return code == 1 ? 0 : code == 2 ? 4 : 16;   /* divide : overflow : x87 */
    case SIGTRAP: return code == 2 ? 1 : 3;                   /* single step : breakpoint */
    default: return -1;
    }
}

static void fill_trap_number(int sig, void *info, void *context)
{
    int *gregs = (int *)((char *)context + UC_GREGS_OFFSET);
    if (gregs[REG_TRAPNO] == -1) gregs[REG_TRAPNO] = trap_number(sig, ((int *)info)[SI_CODE]);
    handler_fn next = wine_handlers[sig];
    if (next) next(sig, info, context);
}

int sigaction(int sig, const struct sigaction_i386 *act, struct sigaction_i386 *old)
{
    if (!real_sigaction) real_sigaction = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    if (!real_sigaction) return -1;
    if (sig <= 0 || sig >= MAX_SIGNAL || !watched(sig)) return real_sigaction(sig, act, old);

    handler_fn previous = wine_handlers[sig];
    int wrap = act && (act->flags & SA_SIGINFO) && (unsigned long)act->handler > 1;
    struct sigaction_i386 ours;
    if (wrap) {
        ours = *act;
        ours.handler = fill_trap_number;
        wine_handlers[sig] = act->handler;  /* in place before ours can run */
    }
    int rc = real_sigaction(sig, wrap ? &ours : act, old);
    if (rc != 0) {
        wine_handlers[sig] = previous;
        return rc;
    }
    if (old && old->handler == fill_trap_number) old->handler = previous;
    if (act && !wrap) wine_handlers[sig] = 0;
    return rc;
}
