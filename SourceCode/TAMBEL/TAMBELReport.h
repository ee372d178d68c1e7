// The sizing program's report document: a report whose variables FillReportFields sets from
// the project (physical data, customer record, device features) and one sized device, for the
// report templates to show.
#pragma once

#include "Pagewright/Report.h"
#include "Quillet/Logger.h"

#include <string>

class CPhysicalData;
class CResultItem;

class CTAMBELReport : public CReport {
public:
    CTAMBELReport();
    virtual ~CTAMBELReport() = default;

    // Every variable the templates may name, in a fixed order, with texts and numbers in the
    // language; the program's texts and decimal separator are switched to it for the fill and
    // back afterwards (CHarbinax::SetTextLanguage), the process locale and environment stay.
    // The customer record and device features are the project's.
    void FillReportFields(const CPhysicalData& data, const CResultItem& row, const std::string& language);

protected:
    // Where every variable goes; an empty value removes it.
    virtual void SetField(const std::string& name, const std::string& value) { SetVariable(name, value); }

private:
    void FillFluidFields(const CPhysicalData& data, const std::string& language);
    void FillPointTables(const CResultItem& row, const std::string& language);

    CLogger m_log;
};
