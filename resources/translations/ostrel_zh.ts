<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Code</name>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Login failed.</source>
        <translation>登录失败。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>User authentication failed!Please login again!</source>
        <translation>用户认证失败！请重新登录！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Session Timeout!Please log in again!</source>
        <translation>会话超时！请重新登录！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Signature verification failed!</source>
        <translation>签名验证失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Internal Server Error!</source>
        <translation>服务器内部错误！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Server exception!</source>
        <translation>服务器异常！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Please fill in the key parameters!</source>
        <translation>请填写关键参数！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Session time out!</source>
        <translation>会话超时！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Request error!</source>
        <translation>请求错误！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Repetition of key parameters!</source>
        <translation>关键参数重复！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Error in mailbox format!</source>
        <translation>邮箱格式错误！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Verification code sending failed!</source>
        <translation>验证码发送失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Verification code incorrect or timeout, please retrieve!</source>
        <translation>验证码错误或已超时，请重新获取！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>JSON parameter exception, parsing failure!</source>
        <translation>JSON 参数异常，解析失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Registration failure!</source>
        <translation>注册失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>User name or password length is less than 6 bits!</source>
        <translation>用户名或密码长度少于 6 位！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Registration error!The e-mail has been registered.</source>
        <translation>注册错误！该邮箱已被注册。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The user name does not exist!</source>
        <translation>用户名不存在！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Logon password error!</source>
        <translation>登录密码错误！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Your Kestavo ID is disabled.Please contact Kestavo to get support.</source>
        <translation>您的 Kestavo ID 已被禁用。请联系 Kestavo 获取支持。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Your Kestavo ID is under review.Please contact Kestavo to get support.</source>
        <translation>您的 Kestavo ID 正在审核中。请联系 Kestavo 获取支持。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The password reset failed.Please try again.</source>
        <translation>密码重置失败。请重试。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Password Length Less than 6 Bits!</source>
        <translation>密码长度少于 6 位！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Failed to change password!</source>
        <translation>修改密码失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Failed to modify mailbox!</source>
        <translation>修改邮箱失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>New mailbox cannot be the same to old mailbox!</source>
        <translation>新邮箱不能与旧邮箱相同！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Failed to modify user information!</source>
        <translation>修改用户信息失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Lack of serial number parameters!</source>
        <translation>缺少序列号参数！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The serial number does not belong to this user!</source>
        <translation>该序列号不属于此用户！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The serial number not exists!</source>
        <translation>序列号不存在！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The serial number unrelated order!</source>
        <translation>该序列号未关联订单！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The serial number configuration information exception!</source>
        <translation>序列号配置信息异常！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Lack of language parameters!</source>
        <translation>缺少语言参数！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>This language in not available at the moment!</source>
        <translation>该语言暂不可用！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Product Package Unrelated Software!</source>
        <translation>产品套餐未关联软件！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Automatic change configuration package failure!</source>
        <translation>自动更换配置包失败！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>No need to reconfigure vehicle software!</source>
        <translation>无需重新配置车型软件！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Software ID cannot be empty!</source>
        <translation>软件 ID 不能为空！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Inquiry error of software information!</source>
        <translation>软件信息查询错误！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Product deletion failed, please contact the administrator!</source>
        <translation>产品删除失败，请联系管理员！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Please fill in the complete information.</source>
        <translation>请填写完整信息。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Verification code error!</source>
        <translation>验证码错误！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Incorrect mailbox format input!</source>
        <translation>输入的邮箱格式不正确！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The mailbox has been used.Please replace it.</source>
        <translation>该邮箱已被使用。请更换。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Failure of application, please try again.</source>
        <translation>申请失败，请重试。</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>Mailbox cannot be empty!</source>
        <translation>邮箱不能为空！</translation>
    </message>
    <message>
        <location filename="../../service/src/Code.cpp"/>
        <source>The mailbox format is incorrect!</source>
        <translation>邮箱格式不正确！</translation>
    </message>
</context>
<context>
    <name>Ostrel</name>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>是</translation>
    </message>
    <message>
        <source>No</source>
        <translation>否</translation>
    </message>
</context>
</TS>
