// Linked into every executable of the ThreadSanitizer build (see ThreadSanitizer.cmake).
//
// Qt is not built with ThreadSanitizer, and the locks it hands work between threads with are
// futexes the sanitizer cannot see: to it, a task queued on the thread pool or a function posted
// to another thread's event loop runs with no ordering to what its sender did before, and reports
// on our own code follow. These definitions take the place of Qt Core's for every call that comes
// from outside it, from our code or from Qt's other libraries (the executable's own symbols come
// first), tell the sanitizer about exactly the ordering Qt's locks give, and call Qt Core's.

#include <QMetaObject>
#include <QThread>
#include <QThreadPool>

#include <dlfcn.h>
#include <sanitizer/tsan_interface.h>

namespace {

// Stands for the lock of the pool's queue. The tasks synchronise on it rather than on anything they
// capture, which could not be read before they have synchronised.
char poolQueueLock;

template <typename Function> Function qtDefinition(const char *symbol)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

// A posted function: whatever its sender did before posting happens before it runs.
class SentFunction : public QtPrivate::QSlotObjectBase {
public:
    explicit SentFunction(QtPrivate::QSlotObjectBase *function)
        : QSlotObjectBase(&SentFunction::operate), m_function(function)
    {
        __tsan_release(this);
    }

private:
    static void operate(int operation, QSlotObjectBase *self, QObject *receiver, void **arguments,
                        bool *result)
    {
        auto *sent = static_cast<SentFunction *>(self);
        switch (operation) {
        case Destroy:
            __tsan_acquire(sent);
            sent->m_function->destroyIfLastRef();
            delete sent;
            break;
        case Call:
            __tsan_acquire(sent);
            sent->m_function->call(receiver, arguments);
            // Its last reference may be dropped on the sending thread.
            __tsan_release(sent);
            break;
        case Compare:
            *result = sent->m_function->compare(arguments);
            break;
        }
    }

    QtPrivate::QSlotObjectBase *m_function;
};

} // namespace

bool QMetaObject::invokeMethodImpl(QObject *object, QtPrivate::QSlotObjectBase *slot,
                                   Qt::ConnectionType type, void *ret)
{
    using InvokeMethod =
        bool (*)(QObject *, QtPrivate::QSlotObjectBase *, Qt::ConnectionType, void *);
    static const auto qt = qtDefinition<InvokeMethod>(
        "_ZN11QMetaObject16invokeMethodImplEP7QObjectPN9QtPrivate15QSlotObjectBaseEN2Qt14"
        "ConnectionTypeEPv");
    return qt(object, new SentFunction(slot), type, ret);
}

// The pool takes its tasks out of one queue under one lock: everything done before a task was
// queued, and every task that finished before it started, happens before it; every finished task
// happens before waitForDone() returns.
void QThreadPool::start(std::function<void()> functionToRun, int priority)
{
    using Start = void (*)(QThreadPool *, std::function<void()>, int);
    static const auto qt = qtDefinition<Start>("_ZN11QThreadPool5startESt8functionIFvvEEi");
    std::function<void()> task = [function = std::move(functionToRun)] {
        __tsan_acquire(&poolQueueLock);
        function();
        __tsan_release(&poolQueueLock);
    };
    __tsan_release(&poolQueueLock);
    qt(this, std::move(task), priority);
}

bool QThreadPool::waitForDone(int msecs)
{
    using WaitForDone = bool (*)(QThreadPool *, int);
    static const auto qt = qtDefinition<WaitForDone>("_ZN11QThreadPool11waitForDoneEi");
    const bool done = qt(this, msecs);
    __tsan_acquire(&poolQueueLock);
    return done;
}

// A thread's last work happens before wait() returns for it, even when the thread had ended
// before wait() was called and so finds it ended under Qt's lock alone.
void QThread::start(Priority priority)
{
    using Start = void (*)(QThread *, Priority);
    static const auto qt = qtDefinition<Start>("_ZN7QThread5startENS_8PriorityE");
    connect(
        this, &QThread::finished, this, [this] { __tsan_release(this); }, Qt::DirectConnection);
    qt(this, priority);
}

bool QThread::wait(QDeadlineTimer deadline)
{
    using Wait = bool (*)(QThread *, QDeadlineTimer);
    static const auto qt = qtDefinition<Wait>("_ZN7QThread4waitE14QDeadlineTimer");
    const bool ended = qt(this, deadline);
    if (ended)
        __tsan_acquire(this);
    return ended;
}
