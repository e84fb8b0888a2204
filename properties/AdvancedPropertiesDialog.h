// The dialog "Vellora 9x Advanced Properties": shows the four settings of "Vellora.ini" as
// three sets of radio buttons and the path field, and writes all four back on OK. Between
// opening and OK the controls are the only copy of the settings.
#pragma once

#include "ModalDialog.h"
#include "PathFieldText.h"
#include "SettingsRules.h"

class AdvancedPropertiesDialog : public ModalDialog {
  public:
    static constexpr const char* kCaption = "Vellora 9x Advanced Properties";

    AdvancedPropertiesDialog();

  private:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnClicked(int controlId) override;
    void OnEditChanged(int controlId) override;
    void OnEditLeft(int controlId) override;
    void KeepPathFieldWritable();
    void ShowPathAsTheFileReadsIt();
    PathFieldText PathFieldInBytes();
    std::optional<PathFieldText> PathFieldWithoutForeignCharacters() const;
    std::size_t FieldLength() const;

    void ShowSettings(const Settings& settings);
    void WriteShownSettings(const char* path);
    Settings SettingsShown();
    FilenameMode FilenameModeShown() const;
    std::string OutputPathShown();
    Compression CompressionShown() const;
    Multipage MultipageShown() const;
    void SetCaptions();

    // Every radio button is a group of its own, so the platform unchecks nothing when one is
    // clicked: these keep each set exclusive.
    void SelectOutputFilenameMode(FilenameMode mode);
    void SelectCompression(Compression compression);
    void SelectMultipage(Multipage multipage);
    // Checks a radio button and keeps it out of the tab order, to which the platform adds
    // every checked radio button: the tab stops are OK, Cancel and the path field alone.
    void Check(int radioButtonId);
    void Uncheck(int radioButtonId);

    // The path field's text as last kept, only to tell what an edit put in; OK reads the field.
    std::string pathBeforeEdit;
};
