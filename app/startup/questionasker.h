#pragma once

// A question with OK and Cancel buttons, asked of the user. The bar asks through a message box
// (MessageBoxQuestionAsker); tests answer with a stand-in.

#include <QString>

namespace pindrel {

class QuestionAsker
{
public:
    enum class Answer { Ok, Cancel };

    virtual ~QuestionAsker() = default;

    // Shows pText under the title pTitle with a question icon and OK and Cancel buttons and
    // returns the user's answer; closing the question without a button is Cancel.
    virtual Answer ask(const QString &pTitle, const QString &pText) = 0;

protected:
    QuestionAsker() = default;
    QuestionAsker(const QuestionAsker &) = default;
    QuestionAsker &operator=(const QuestionAsker &) = default;
};

} // namespace pindrel
