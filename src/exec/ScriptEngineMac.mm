#include "exec/ScriptEngine.h"

#import <Foundation/Foundation.h>

std::optional<ScriptOutcome> executeAppleScriptInProcess(const QString &source)
{
    @autoreleasepool {
        NSAppleScript *script = [[NSAppleScript alloc] initWithSource:source.toNSString()];
        if (script == nil)
            return std::nullopt;
        NSDictionary *errorInfo = nil;
        NSAppleEventDescriptor *result = [script executeAndReturnError:&errorInfo];
        if (result != nil) {
            NSString *text = [result stringValue];
            return ScriptOutcome{text ? QString::fromNSString(text) : QString(), std::nullopt,
                                 std::nullopt};
        }
        ScriptOutcome outcome;
        id message = errorInfo[NSAppleScriptErrorMessage];
        if ([message isKindOfClass:[NSString class]])
            outcome.errorMessage = QString::fromNSString(message);
        id number = errorInfo[NSAppleScriptErrorNumber];
        if ([number isKindOfClass:[NSNumber class]])
            outcome.errorNumber = [number longLongValue];
        return outcome;
    }
}
