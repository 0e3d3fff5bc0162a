#include "calc/elementlist.h"

#include "calc/calcstate.h"

#include <charconv>

namespace tovanel {

std::array<NamedValue, kElementCount> ElementList(const CalcState& s)
{
    return {{
        {"AzIn", s.AzIn},       {"AzOut", s.AzOut},   {"IA", s.IA},           {"IAWork", s.IAWork},
        {"TurnSign", static_cast<double>(s.TurnSign)}, {"RadSigned", s.RadSigned}, {"TL", s.TL},
        {"CL", s.CL},           {"HalfCL", s.HalfCL}, {"SL", s.SL},           {"M", s.M},
        {"DistIn", s.DistIn},   {"BcX", s.BcX},       {"BcY", s.BcY},         {"SpX", s.SpX},
        {"SpY", s.SpY},         {"EcX", s.EcX},       {"EcY", s.EcY},         {"CenX", s.CenX},
        {"CenY", s.CenY},       {"AzCenIP", s.AzCenIP}, {"TanAX", s.TanAX},   {"TanAY", s.TanAY},
        {"TanBX", s.TanBX},     {"TanBY", s.TanBY},   {"DivCount", s.DivCount},
        {"IaPerDiv", s.IaPerDiv}, {"IaHalfDiv", s.IaHalfDiv},
    }};
}

void AppendFullDigits(std::string& out, double v)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::general, 17);
    if (ec == std::errc()) out.append(buffer, end);
}

}  // namespace tovanel
