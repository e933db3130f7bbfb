// Linked into every executable of the ThreadSanitizer build (see ThreadSanitizer.cmake).
//
// QProcess starts a child with clone(CLONE_VM | CLONE_VFORK): the child runs in the parent's
// memory until it executes the program. ThreadSanitizer's clone() treats every clone as a fork and
// runs its after-fork code in the child; in shared memory that code lands on the parent's own
// state, and the thread that started the child then ignores every access and every lock it makes
// from there on, so races on it are never reported. Without CLONE_VM the child gets a copy of the
// memory, as after fork(), which the sanitizer handles; the parent still waits until the child has
// started the program.

#include <dlfcn.h>
#include <sched.h>
#include <sys/types.h>

#include <cstdarg>

extern "C" int clone(int (*function)(void *), void *stack, int flags, void *argument, ...)
{
    va_list rest;
    va_start(rest, argument);
    pid_t *parentTid = va_arg(rest, pid_t *);
    void *tls = va_arg(rest, void *);
    pid_t *childTid = va_arg(rest, pid_t *);
    va_end(rest);

    using Clone = int (*)(int (*)(void *), void *, int, void *, ...);
    // The sanitizer's clone(), which comes next after the executable.
    static const auto next = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    if (!(flags & CLONE_THREAD))
        flags &= ~CLONE_VM;
    return next(function, stack, flags, argument, parentTid, tls, childTid);
}
