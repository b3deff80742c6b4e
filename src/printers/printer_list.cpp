#include "printers/printer_list.h"

#include <vector>

#include "catalogue/printer_enum.h"
#include "description/printer_description.h"
#include "platform/ui.h"

CPrinterList& GetPrinterList()
{
    static CPrinterList list;
    return list;
}

void ResetPrinterList()
{
    auto& list = GetPrinterList();
    list.m_printers.clear();
    list.m_strCurrent.clear();
    list.m_nCurrentModelId = 0;
}

std::string GetDescriptionName(const PrinterDescription& description)
{
    NameBuffer name{};
    description.GetDisplayName(name);
    return name.data();
}

// Here, where the descriptions it owns are a complete type.
CPrinterList::~CPrinterList() = default;

PrinterDescription* CPrinterList::Find(const std::string& name) const
{
    for (const auto& description : m_printers) {
        if (GetDescriptionName(*description) == name) {
            return description.get();
        }
    }
    return nullptr;
}

PrinterDescription* CPrinterList::FindOrAdd(const std::string& name)
{
    const platform::WaitCursor wait;
    if (auto* found = Find(name)) {
        return found;
    }
    auto description = std::make_unique<PrinterDescription>();
    if (!description->InitFromName(name.c_str(), 0)) {
        return nullptr;
    }
    return m_printers.emplace_back(std::move(description)).get();
}

bool CPrinterList::Refresh()
{
    const auto count = EnumPrinterEntries(ENUM_MODEL_PRINTERS);
    if (count < 1) {
        return false;
    }
    std::vector<PrinterEntry> entries(static_cast<std::size_t>(count));
    EnumPrinterEntries(ENUM_MODEL_PRINTERS, entries);
    bool any = false;
    for (const auto& entry : entries) {
        if (FindOrAdd(entry.name) != nullptr) {
            any = true;
        }
    }
    return any;
}

bool CPrinterList::Select(const char* name)
{
    const PrinterDescription* description = nullptr;
    if (name != nullptr && *name != '\0') {
        description = FindOrAdd(name);
    }
    if (description == nullptr) {
        if (!Refresh()) {
            return false;
        }
        description = m_printers.front().get();
    }
    SetCurrent(*description);
    return true;
}

void CPrinterList::SetCurrent(const PrinterDescription& description)
{
    m_strCurrent = GetDescriptionName(description);
    m_nCurrentModelId = description.GetModelId().value_or(0);
}

bool CPrinterList::GetCurrentName(std::string& name) const
{
    name = m_strCurrent;
    return !name.empty();
}
