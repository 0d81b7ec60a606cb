// A failure inside a screen: the error number and description shown in the log,
// and the step label of the statement that failed.
#pragma once

#include <stdexcept>
#include <string>

namespace vdx {

// Error numbers, as the reports show them.
inline constexpr int kErrInvalidCall = 5;  // a look-up of a key that is not there
inline constexpr int kErrFileNotFound = 53;
inline constexpr int kErrInvalidPicture = 481;

class GameError : public std::runtime_error {
 public:
  GameError(int number, const std::string& description, int step = 0)
      : std::runtime_error(description), number_(number), step_(step) {}
  int number() const { return number_; }
  std::string description() const { return what(); }
  int step() const { return step_; }
  void setStep(int step) { step_ = step; }

 private:
  int number_;
  int step_;
};

}  // namespace vdx
