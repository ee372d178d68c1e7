// The user's choice of device features: for each feature of the device database (size,
// pressure rating, material, ...) the item fixed on the device page. The sizing run keeps only
// devices that match it. Stored as the part "DeviceConfiguration" of project files.
#pragma once

#include "Oddments/OleDbTypes.h"

#include <map>
#include <string>

class TiXmlElement;

class CDeviceConfiguration {
public:
    // feature id -> item id; one item per feature. Nothing relies on the order.
    typedef std::map<int, int> FeatureMap;

    // The project's selection: the one in the process-wide project; null after process end.
    static CDeviceConfiguration* GetInstance();

    void RemoveAll() { m_features.clear(); }
    // Stores the item of the feature, replacing one set before.
    void SetAt(int featureId, int itemId) { m_features[featureId] = itemId; }
    // The item fixed for the feature; FALSE and 0 when the feature is free.
    BOOL Lookup(int featureId, int& itemId) const;
    int GetCount() const { return static_cast<int>(m_features.size()); }
    FeatureMap::const_iterator begin() const { return m_features.begin(); }
    FeatureMap::const_iterator end() const { return m_features.end(); }

    // A child "Features" with one "Feature" ("Id", "Value") per entry. FALSE only without an
    // element.
    BOOL WriteXml(TiXmlElement* element) const;
    // Empties the map, then takes every "Feature" of "Features" whose id and item are both
    // above 0 (a later one of the same feature wins; an absent one is 0). FALSE without an
    // element, without "Features", or for an id or item that is not a whole int.
    BOOL ReadXml(const TiXmlElement* element);

    // The order number of the selection: the order-number prefix when any feature is fixed,
    // else empty.
    void GetVNumber(std::string& vNumber) const;

private:
    FeatureMap m_features;
};
