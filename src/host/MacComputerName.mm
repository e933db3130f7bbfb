#include "host/MacComputerName.h"

#import <Foundation/Foundation.h>

std::optional<QString> macComputerName()
{
    @autoreleasepool {
        NSString *name = [[NSHost currentHost] localizedName];
        if (name == nil || name.length == 0)
            return std::nullopt;
        return QString::fromNSString(name);
    }
}
