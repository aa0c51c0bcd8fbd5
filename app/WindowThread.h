#pragma once
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// The batch worker touches no widget itself: its reads of controls (and its
// message boxes) are forwarded to the window thread and awaited; its writes are
// forwarded in order and not awaited. On the window thread itself both run at once.

template <class Read>
auto ReadOnWindowThread(QObject* window, Read&& read) -> std::invoke_result_t<Read>
{
    using Result = std::invoke_result_t<Read>;
    if (QThread::currentThread() == window->thread())
        return read();
    std::exception_ptr failure;
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(
            window,
            [&] {
                try { read(); } catch (...) { failure = std::current_exception(); }
            },
            Qt::BlockingQueuedConnection);
        if (failure)
            std::rethrow_exception(failure);
    } else {
        Result result{};
        QMetaObject::invokeMethod(
            window,
            [&] {
                try { result = read(); } catch (...) { failure = std::current_exception(); }
            },
            Qt::BlockingQueuedConnection);
        if (failure)
            std::rethrow_exception(failure);
        return result;
    }
}

inline void PostToWindowThread(QObject* window, std::function<void()> write)
{
    if (QThread::currentThread() == window->thread()) {
        write();
        return;
    }
    QMetaObject::invokeMethod(window, std::move(write), Qt::QueuedConnection);
}
