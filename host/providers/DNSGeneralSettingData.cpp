#include "DNSGeneralSettingData.h"

#include <utility>

#include "InterfaceNodes.h"

namespace Korvu {
namespace IPInterfaceProvider {
namespace Companion {

const char* const DNSGeneralSettingData::className = "Tavrix_DNSGeneralSettingData";

void DNSGeneralSettingData::collect(std::vector<CompanionElement>& out, const std::string* onlyInterface, bool keysOnly)
{
    for (const InterfaceNodes::Interface& i : InterfaceNodes::collect(onlyInterface)) {
        CompanionElement e(className);
        e.addKey("InstanceID", i.idPrefix + i.name);
        if (!keysOnly) {
            e.addText("ElementName", i.name + " DNS general");
            e.addTexts("DNSSuffixesToAppend", i.dnsSuffixes);
        }
        out.push_back(std::move(e));
    }
}

} // namespace Companion
} // namespace IPInterfaceProvider
} // namespace Korvu
