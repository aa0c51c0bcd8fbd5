#include "InteractionHandler.h"

#include <cstdio>

#include <com/sun/star/document/BrokenPackageRequest.hpp>
#include <com/sun/star/document/FilterOptionsRequest.hpp>
#include <com/sun/star/task/DocumentMSPasswordRequest.hpp>
#include <com/sun/star/task/DocumentMSPasswordRequest2.hpp>
#include <com/sun/star/task/DocumentPasswordRequest.hpp>
#include <com/sun/star/task/DocumentPasswordRequest2.hpp>
#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionDisapprove.hpp>
#include <com/sun/star/ucb/InteractiveIOException.hpp>

#include "UnoText.h"

using namespace css;

namespace wordengine {

namespace {

std::string passwordReason(task::PasswordRequestMode mode)
{
    if (mode == task::PasswordRequestMode_PASSWORD_REENTER)
        return "The password is incorrect.";
    return "The document is protected by a password.";
}

std::string describe(const uno::Any& request)
{
    task::DocumentPasswordRequest2 password2;
    task::DocumentMSPasswordRequest2 msPassword2;
    task::DocumentPasswordRequest password;
    task::DocumentMSPasswordRequest msPassword;
    task::PasswordRequest anyPassword;
    task::ErrorCodeRequest errorCode;
    ucb::InteractiveIOException io;
    document::BrokenPackageRequest broken;
    document::FilterOptionsRequest options;
    if (request >>= password2)
        return passwordReason(password2.Mode);
    if (request >>= msPassword2)
        return passwordReason(msPassword2.Mode);
    if (request >>= password)
        return passwordReason(password.Mode);
    if (request >>= msPassword)
        return passwordReason(msPassword.Mode);
    if (request >>= anyPassword)
        return passwordReason(anyPassword.Mode);
    if (request >>= errorCode) {
        char code[16];
        std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(errorCode.ErrCode));
        return std::string("The file is damaged or cannot be read (LibreOffice error ") + code + ").";
    }
    if (request >>= io)
        return "The file cannot be read (input/output error " + std::to_string(static_cast<int>(io.Code)) + ").";
    if (request >>= broken)
        return "The file is damaged.";
    if (request >>= options)
        return "LibreOffice asked for import options that a Word document does not need.";
    return "LibreOffice asked a question while opening the file (" + ToStdString(request.getValueTypeName()) + ").";
}

} // namespace

void AbortingInteractionHandler::handle(const uno::Reference<task::XInteractionRequest>& request)
{
    {
        const std::string why = describe(request->getRequest());
        std::lock_guard lock(mutex_);
        if (reason_.empty())
            reason_ = why;
    }
    const auto continuations = request->getContinuations();
    for (const auto& c : continuations) {
        if (uno::Reference<task::XInteractionAbort> abort{c, uno::UNO_QUERY}; abort.is()) {
            abort->select();
            return;
        }
    }
    for (const auto& c : continuations) {
        if (uno::Reference<task::XInteractionDisapprove> no{c, uno::UNO_QUERY}; no.is()) {
            no->select();
            return;
        }
    }
}

std::string AbortingInteractionHandler::reason() const
{
    std::lock_guard lock(mutex_);
    return reason_;
}

} // namespace wordengine
