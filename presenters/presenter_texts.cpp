// The presenters' texts that have parameters, each composed in one place.
#include "presenters/presenter_texts.h"

#include "vocabulary/failure.h"

std::string LocationCaption(const std::string& folderName) {
  return folderName + " location";
}
std::string RestoreQuestion(const std::string& file, std::size_t changing) {
  std::string changes = changing == 0   ? "It changes no value: the registry holds each of them already."
                        : changing == 1 ? "It changes 1 value."
                                        : "It changes " + std::to_string(changing) + " values.";
  return "Replace the current special folder paths with those in " + Shortened(file) + "?\n" + changes;
}
std::string FileDialogFailed(std::int32_t error) {
  return "The file dialog could not be shown " + ErrorNumber(error) + ".";
}
