#include "launcher/app_user_model_id.h"

AppUserModelIdProblem appUserModelIdProblem(const Text& id) {
    if (id.length() > kAppUserModelIdMaxLength) return AppUserModelIdProblem::TooLong;
    if (id.contains(u' ')) return AppUserModelIdProblem::HasSpace;
    return AppUserModelIdProblem::None;
}
