// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/project/project.h"

namespace zorva::project {

Project newProject() {
    Project p;
    Manifold m;
    m.name = "分集水器1";
    p.manifolds.push_back(std::move(m));
    return p;
}

bool loadComputed(const Project& project, const Room& room) {
    return project.settings.heatLoad.method != LoadMethod::Typed && room.envelope.has_value();
}

const char* loadMethodKey(LoadMethod method) {
    switch (method) {
    case LoadMethod::Typed:
        return "typed";
    case LoadMethod::Gb50736:
        return "gb50736";
    case LoadMethod::En12831:
        break;
    }
    return "en12831";
}

bool loadMethodFromKey(const std::string& key, LoadMethod& out) {
    for (LoadMethod m : {LoadMethod::Typed, LoadMethod::Gb50736, LoadMethod::En12831})
        if (key == loadMethodKey(m)) {
            out = m;
            return true;
        }
    return false;
}

const char* loadMethodName(LoadMethod method) {
    switch (method) {
    case LoadMethod::Typed:
        return "输入值";
    case LoadMethod::Gb50736:
        return "GB 50736-2012";
    case LoadMethod::En12831:
        break;
    }
    return "EN 12831-1:2017";
}

} // namespace zorva::project
