// The device configuration page: one drop-down list per order feature of the device database
// (size, pressure rating, material, ...), each offering "all" and the feature's items, and the
// V-number of the selection. Its template is built at run time from the device features, in
// columns of eight lists. Entering the page shows the project's device configuration, leaving
// it stores the lists into it. It has no toolbar button and is not in the main window's page
// list.
#pragma once

#include "HarbinaxCore/DialogTemplate.h"
#include "TAMBEL/Pages/TemplatePage.h"

#include <string>
#include <vector>

class CToolTipComboBox;
class wxCommandEvent;
class wxTextCtrl;

class CPageDevice : public CTemplatePage {
public:
    // A feature that gets a list, with its label text.
    struct SFeature {
        int id;
        std::string name;
    };

    CPageDevice();

    // Builds the template from the device features of the units database and creates the
    // hidden page from it. False (logged) when the features cannot be read or the page cannot
    // be made; the page then has no window.
    bool Create(wxWindow* parent);

    // Shows the project's device configuration; an item the list does not offer shows "all".
    bool OnEnterPage() override;
    // Replaces the project's device configuration by the lists' items; "all" stores nothing.
    bool OnLeavePage() override;
    void OnDestroy() override;

    // The V-number of the lists' selections into its field.
    void OnFeatureChanged();

    // The built template; null before Create.
    const SDialogTemplate* GetTemplate() const { return m_template.GetTemplate(); }
    // A feature's list, null when the feature has none.
    CToolTipComboBox* GetFeatureList(int featureId) const;
    wxTextCtrl* GetVNumberField() const { return m_vNumber; }

    // The template items of the features in their order: a label and a list each, in columns
    // of eight, then caption, line and the V-number; the page as wide as its columns need.
    static void AddTemplateItems(CDialogTemplate& dialogTemplate, const std::vector<SFeature>& features);

private:
    struct SList {
        int featureId;
        CToolTipComboBox* list;
    };

    // The features that get a list, in sort order, with their translated names. False when
    // they cannot be read completely.
    bool ReadFeatures(std::vector<SFeature>& features);
    void OnInitDialog();
    // "all" and the feature's items in every list, "all" selected.
    void FillFeatureLists();
    // "all" in every list, the V-number empty.
    void ClearControls();
    void OnSelection(wxCommandEvent& event);

    CDialogTemplate m_template;
    std::vector<SList> m_lists;
    wxTextCtrl* m_vNumber = nullptr;
};
