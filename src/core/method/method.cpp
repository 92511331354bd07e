// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/method/method.h"

#include <cstring>
#include <initializer_list>

namespace zorva::method {

const char* methodName(Method method) {
    return method == Method::Program ? "本程序方法" : "EN 1264-2";
}

const char* methodClause(Method method) {
    return method == Method::Program
               ? "本程序方法：逐次逼近计算（docs/method.md）"
               : "EN 1264-2 附录 A（A 型）；流量按 EN 1264-3 含向下热损失；水阻力按达西公式";
}

const char* methodKey(Method method) {
    return method == Method::Program ? "program" : "en1264";
}

bool methodFromKey(const char* key, Method& out) {
    if (!key)
        return false;
    for (const Method m : {Method::Program, Method::En1264}) {
        if (std::strcmp(key, methodKey(m)) == 0) {
            out = m;
            return true;
        }
    }
    return false;
}

} // namespace zorva::method
