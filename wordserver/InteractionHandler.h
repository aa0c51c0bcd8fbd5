#pragma once
#include <mutex>
#include <string>

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

namespace wordengine {

// Answers every question the office asks while loading (a password, a damaged
// file, import options, anything else) by aborting, and remembers why, so that
// the failed load can say it. No dialog is ever waited for.
class AbortingInteractionHandler : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    void SAL_CALL handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;
    std::string reason() const;

private:
    mutable std::mutex mutex_;
    std::string reason_;
};

} // namespace wordengine
