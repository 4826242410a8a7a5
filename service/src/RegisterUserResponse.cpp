#include <Sornet/RegisterUserResponse.h>

RegisterUserResponse::RegisterUserResponse(QObject *parent)
    : BaseResponse(parent)
{
}

RegisterUserResponse::RegisterUserResponse(const RegisterUserResponse &other)
    : BaseResponse(other)
{
}

RegisterUserResponse &RegisterUserResponse::operator=(const RegisterUserResponse &other)
{
    BaseResponse::operator=(other);
    return *this;
}
