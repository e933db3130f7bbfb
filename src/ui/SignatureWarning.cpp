#include "ui/SignatureWarning.h"

#include "ui/NamedColors.h"

SignatureWarning SignatureWarning::of(const CodeSignature &signature)
{
    switch (signature.state) {
    case CodeSignature::State::notApple:
        return {tr("⚠ Not signed by Apple: cannot be used"), NamedColors::red()};
    case CodeSignature::State::appleExpired:
        return {tr("⚠ Apple's signing certificate has expired"), NamedColors::orange()};
    case CodeSignature::State::unchecked:
    case CodeSignature::State::apple:
        break;
    }
    return {};
}
