<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>Application</name>
    <message>
        <source>Ostrel</source>
        <translation>Ostrel</translation>
    </message>
    <message>
        <source>Ostrel cannot make sure that it runs only once, so it does not start. Check that your home folder can be written to.</source>
        <translation>Ostrel 无法确保只运行一个副本，因此不会启动。请检查您的主文件夹是否可写。</translation>
    </message>
    <message>
        <source>Ostrel is already running for this user, perhaps in another session. Close it before you start Ostrel again.</source>
        <translation>Ostrel 已在为该用户运行，可能在另一个会话中。请先关闭它，再重新启动 Ostrel。</translation>
    </message>
</context>
<context>
    <name>Code</name>
    <message>
        <source>Success</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>Login failed.</source>
        <translation>登录失败。</translation>
    </message>
    <message>
        <source>User authentication failed!Please login again!</source>
        <translation>用户认证失败！请重新登录！</translation>
    </message>
    <message>
        <source>Session Timeout!Please log in again!</source>
        <translation>会话超时！请重新登录！</translation>
    </message>
    <message>
        <source>Signature verification failed!</source>
        <translation>签名验证失败！</translation>
    </message>
    <message>
        <source>Internal Server Error!</source>
        <translation>服务器内部错误！</translation>
    </message>
    <message>
        <source>Server exception!</source>
        <translation>服务器异常！</translation>
    </message>
    <message>
        <source>Please fill in the key parameters!</source>
        <translation>请填写关键参数！</translation>
    </message>
    <message>
        <source>Session time out!</source>
        <translation>会话超时！</translation>
    </message>
    <message>
        <source>Request error!</source>
        <translation>请求错误！</translation>
    </message>
    <message>
        <source>Repetition of key parameters!</source>
        <translation>关键参数重复！</translation>
    </message>
    <message>
        <source>Error in mailbox format!</source>
        <translation>邮箱格式错误！</translation>
    </message>
    <message>
        <source>Verification code sending failed!</source>
        <translation>验证码发送失败！</translation>
    </message>
    <message>
        <source>Verification code incorrect or timeout, please retrieve!</source>
        <translation>验证码错误或已超时，请重新获取！</translation>
    </message>
    <message>
        <source>JSON parameter exception, parsing failure!</source>
        <translation>JSON 参数异常，解析失败！</translation>
    </message>
    <message>
        <source>Registration failure!</source>
        <translation>注册失败！</translation>
    </message>
    <message>
        <source>User name or password length is less than 6 bits!</source>
        <translation>用户名或密码长度少于 6 位！</translation>
    </message>
    <message>
        <source>Registration error!The e-mail has been registered.</source>
        <translation>注册错误！该邮箱已被注册。</translation>
    </message>
    <message>
        <source>The user name does not exist!</source>
        <translation>用户名不存在！</translation>
    </message>
    <message>
        <source>Logon password error!</source>
        <translation>登录密码错误！</translation>
    </message>
    <message>
        <source>Your Kestavo ID is disabled.Please contact Kestavo to get support.</source>
        <translation>您的 Kestavo ID 已被禁用。请联系 Kestavo 获取支持。</translation>
    </message>
    <message>
        <source>Your Kestavo ID is under review.Please contact Kestavo to get support.</source>
        <translation>您的 Kestavo ID 正在审核中。请联系 Kestavo 获取支持。</translation>
    </message>
    <message>
        <source>The password reset failed.Please try again.</source>
        <translation>密码重置失败。请重试。</translation>
    </message>
    <message>
        <source>Password Length Less than 6 Bits!</source>
        <translation>密码长度少于 6 位！</translation>
    </message>
    <message>
        <source>Failed to change password!</source>
        <translation>修改密码失败！</translation>
    </message>
    <message>
        <source>Failed to modify mailbox!</source>
        <translation>修改邮箱失败！</translation>
    </message>
    <message>
        <source>New mailbox cannot be the same to old mailbox!</source>
        <translation>新邮箱不能与旧邮箱相同！</translation>
    </message>
    <message>
        <source>Failed to modify user information!</source>
        <translation>修改用户信息失败！</translation>
    </message>
    <message>
        <source>Lack of serial number parameters!</source>
        <translation>缺少序列号参数！</translation>
    </message>
    <message>
        <source>The serial number does not belong to this user!</source>
        <translation>该序列号不属于此用户！</translation>
    </message>
    <message>
        <source>The serial number not exists!</source>
        <translation>序列号不存在！</translation>
    </message>
    <message>
        <source>The serial number unrelated order!</source>
        <translation>该序列号未关联订单！</translation>
    </message>
    <message>
        <source>The serial number configuration information exception!</source>
        <translation>序列号配置信息异常！</translation>
    </message>
    <message>
        <source>Lack of language parameters!</source>
        <translation>缺少语言参数！</translation>
    </message>
    <message>
        <source>This language in not available at the moment!</source>
        <translation>该语言暂不可用！</translation>
    </message>
    <message>
        <source>Product Package Unrelated Software!</source>
        <translation>产品套餐未关联软件！</translation>
    </message>
    <message>
        <source>Automatic change configuration package failure!</source>
        <translation>自动更换配置包失败！</translation>
    </message>
    <message>
        <source>No need to reconfigure vehicle software!</source>
        <translation>无需重新配置车型软件！</translation>
    </message>
    <message>
        <source>Software ID cannot be empty!</source>
        <translation>软件 ID 不能为空！</translation>
    </message>
    <message>
        <source>Inquiry error of software information!</source>
        <translation>软件信息查询错误！</translation>
    </message>
    <message>
        <source>Product deletion failed, please contact the administrator!</source>
        <translation>产品删除失败，请联系管理员！</translation>
    </message>
    <message>
        <source>Please fill in the complete information.</source>
        <translation>请填写完整信息。</translation>
    </message>
    <message>
        <source>Verification code error!</source>
        <translation>验证码错误！</translation>
    </message>
    <message>
        <source>Incorrect mailbox format input!</source>
        <translation>输入的邮箱格式不正确！</translation>
    </message>
    <message>
        <source>The mailbox has been used.Please replace it.</source>
        <translation>该邮箱已被使用。请更换。</translation>
    </message>
    <message>
        <source>Failure of application, please try again.</source>
        <translation>申请失败，请重试。</translation>
    </message>
    <message>
        <source>Mailbox cannot be empty!</source>
        <translation>邮箱不能为空！</translation>
    </message>
    <message>
        <source>The mailbox format is incorrect!</source>
        <translation>邮箱格式不正确！</translation>
    </message>
</context>
<context>
    <name>Complaint</name>
    <message>
        <source>The complaint form is not available: its address is not secure (https).</source>
        <translation>投诉表单不可用：其地址不安全（非 https）。</translation>
    </message>
    <message>
        <source>Complaint</source>
        <translation>投诉</translation>
    </message>
    <message>
        <source>Complaint form</source>
        <translation>投诉表单</translation>
    </message>
</context>
<context>
    <name>Login</name>
    <message>
        <source>Registered email or Kestavo ID</source>
        <translation>注册邮箱或 Kestavo ID</translation>
    </message>
    <message>
        <source>Enter your Password</source>
        <translation>请输入密码</translation>
    </message>
    <message>
        <source>Retrieve Password</source>
        <translation>找回密码</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>登录</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>注册</translation>
    </message>
    <message>
        <source>Please enter your email address or Kestavo ID</source>
        <translation>请输入邮箱地址或 Kestavo ID</translation>
    </message>
    <message>
        <source>Please enter your password</source>
        <translation>请输入密码</translation>
    </message>
    <message>
        <source>Incorrect account or password</source>
        <translation>账号或密码错误</translation>
    </message>
</context>
<context>
    <name>MissingPluginPage</name>
    <message>
        <source>The download component is not installed.</source>
        <translation>下载组件未安装。</translation>
    </message>
    <message>
        <source>Card updates are not available. Reinstall Ostrel to restore them; uninstalling vehicle software and every other page still work.</source>
        <translation>无法更新SD卡。请重新安装 Ostrel 以恢复此功能；卸载车型软件及其他页面仍可正常使用。</translation>
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
    <message>
        <source>Download</source>
        <translation>下载</translation>
    </message>
    <message>
        <source>Complaint</source>
        <translation>投诉</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>卸载</translation>
    </message>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>User Information</source>
        <translation>用户信息</translation>
    </message>
</context>
<context>
    <name>Register</name>
    <message>
        <source>Email</source>
        <translation>邮箱</translation>
    </message>
    <message>
        <source>Verification Code</source>
        <translation>验证码</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>密码</translation>
    </message>
    <message>
        <source>Confirm Password</source>
        <translation>确认密码</translation>
    </message>
    <message>
        <source>Send Code</source>
        <translation>发送验证码</translation>
    </message>
    <message>
        <source>Email format error</source>
        <translation>邮箱格式错误</translation>
    </message>
    <message>
        <source>Verification Code format error</source>
        <translation>验证码格式错误</translation>
    </message>
    <message>
        <source>Password format error</source>
        <translation>密码格式错误</translation>
    </message>
    <message>
        <source>Confirm Password format error</source>
        <translation>确认密码格式错误</translation>
    </message>
    <message>
        <source>Free Registration</source>
        <translation>免费注册</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>By creating an account, you agree to</source>
        <translation>创建账户即表示您同意</translation>
    </message>
    <message>
        <source>Kestavo&apos;s Conditions of Use and Privacy Notice.</source>
        <translation>Kestavo 的使用条款和隐私声明。</translation>
    </message>
    <message>
        <source>Please enter your valid email address!</source>
        <translation>请输入有效的邮箱地址！</translation>
    </message>
    <message>
        <source>Something&apos;s wrong with your email address. Please try again!</source>
        <translation>邮箱地址有误，请重新输入！</translation>
    </message>
    <message>
        <source>An account already exists with the email address </source>
        <translation>该邮箱地址已注册账户：</translation>
    </message>
    <message>
        <source>An account already exists with the email address</source>
        <translation>该邮箱地址已注册账户：</translation>
    </message>
    <message>
        <source>We have sent the verification code to your email, please use it within 10 minutes!</source>
        <translation>验证码已发送到您的邮箱，请在 10 分钟内使用！</translation>
    </message>
    <message>
        <source>Verification code is sent fail!</source>
        <translation>验证码发送失败！</translation>
    </message>
    <message>
        <source>Verification code is empty!</source>
        <translation>验证码为空！</translation>
    </message>
    <message>
        <source>Verification code error!</source>
        <translation>验证码错误！</translation>
    </message>
    <message>
        <source>Password is empty!</source>
        <translation>密码为空！</translation>
    </message>
    <message>
        <source>Make sure it contains 6-16 characters or symbols!</source>
        <translation>请确保密码包含 6-16 个字符或符号！</translation>
    </message>
    <message>
        <source>Passwords does not match!</source>
        <translation>两次输入的密码不一致！</translation>
    </message>
    <message>
        <source>The password entered twice is different!</source>
        <translation>两次输入的密码不同！</translation>
    </message>
    <message>
        <source>Registered account is successful!</source>
        <translation>账户注册成功！</translation>
    </message>
    <message>
        <source>Failed to create the account.</source>
        <translation>账户创建失败。</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Setting</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Language Setting</source>
        <translation>车型软件语言</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>Vehicle is being upgraded, disables language switching!</source>
        <translation>车型正在升级，禁止切换语言！</translation>
    </message>
    <message>
        <source>Vehicle is being unload, disables language switching!</source>
        <translation>车型正在卸载，禁止切换语言！</translation>
    </message>
    <message>
        <source>The vehicle software language changes when Ostrel restarts. Restart now?</source>
        <translation>车型软件语言将在 Ostrel 重启后更换。
现在重启吗？</translation>
    </message>
    <message>
        <source>Interface Language</source>
        <translation>界面语言</translation>
    </message>
    <message>
        <source>The interface language changes when Ostrel restarts. Restart now?</source>
        <translation>界面语言将在 Ostrel 重启后更换。
现在重启吗？</translation>
    </message>
    <message>
        <source>The interface language and the vehicle software language change when Ostrel restarts. Restart now?</source>
        <translation>界面语言和车型软件语言将在 Ostrel 重启后更换。
现在重启吗？</translation>
    </message>
</context>
<context>
    <name>TitleBar</name>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
</context>
<context>
    <name>Uninstall</name>
    <message>
        <source>Tips</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Current Version</source>
        <translation>当前版本</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>Uninstalling...</source>
        <translation>正在卸载...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>Uninstall</source>
        <translation>卸载</translation>
    </message>
    <message>
        <source>No serial number</source>
        <translation>无序列号</translation>
    </message>
    <message>
        <source>Internal Storage:</source>
        <translation>SD卡：</translation>
    </message>
    <message>
        <source>Internal Storage: </source>
        <translation>SD卡：</translation>
    </message>
    <message>
        <source>Insert the scanner&apos;s SD card</source>
        <translation>请插入诊断仪的SD卡</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message numerus="yes">
        <source>Uninstall %n vehicle software package(s) from the SD card? This frees %1.</source>
        <translation>
            <numerusform>确定要从SD卡卸载 %n 个车型软件吗？
将释放 %1 空间。</numerusform>
        </translation>
    </message>
    <message>
        <source>Stopped. %1 of %2 vehicle software packages were uninstalled; the others stay on the SD card.</source>
        <translation>已停止。已卸载 %1/%2 个车型软件，其余仍保留在SD卡上。</translation>
    </message>
    <message>
        <source>Please insert the SD card!</source>
        <translation>请插入SD卡！</translation>
    </message>
    <message>
        <source>No vehicles!</source>
        <translation>没有车型！</translation>
    </message>
    <message>
        <source>Vehicle is being upgraded, do not unload!</source>
        <translation>车型正在升级，请勿卸载！</translation>
    </message>
    <message>
        <source>Updating, Please waitting...</source>
        <translation>正在更新，请稍候...</translation>
    </message>
    <message>
        <source>Uninstall vehicle successfully</source>
        <translation>卸载车型成功</translation>
    </message>
    <message>
        <source>Uninstalling vehicle software</source>
        <translation>正在卸载车型软件</translation>
    </message>
    <message>
        <source>Uninstall vehicle failed!</source>
        <translation>卸载车型失败！</translation>
    </message>
    <message>
        <source>The model is being unloaded. Closing may result in the car not working properly. Is it turned off?</source>
        <translation>正在卸载车型，关闭可能导致车型无法正常使用。是否关闭？</translation>
    </message>
    <message>
        <source>The model is upgrading. Closing may result in the car not working properly. Is it turned off?</source>
        <translation>正在升级车型，关闭可能导致车型无法正常使用。是否关闭？</translation>
    </message>
    <message>
        <source>No version</source>
        <translation>无版本</translation>
    </message>
    <message>
        <source>No SD card</source>
        <translation>未插入SD卡</translation>
    </message>
    <message>
        <source>Used %1 of %2</source>
        <translation>已用 %1，共 %2</translation>
    </message>
</context>
<context>
    <name>UserInfo</name>
    <message>
        <source>User Information</source>
        <translation>用户信息</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>Confirm</source>
        <translation>确认</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>名</translation>
    </message>
    <message>
        <source>Middle Name</source>
        <translation>中间名</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>姓</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>公司</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>电话</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>传真</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>City</source>
        <translation>城市</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>州/省</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>国家</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation>邮政编码</translation>
    </message>
    <message>
        <source>User information obtained successfully</source>
        <translation>获取用户信息成功</translation>
    </message>
    <message>
        <source>Failed to get user information</source>
        <translation>获取用户信息失败</translation>
    </message>
    <message>
        <source>Modify user information successfully</source>
        <translation>修改用户信息成功</translation>
    </message>
    <message>
        <source>Failed to modify user information</source>
        <translation>修改用户信息失败</translation>
    </message>
    <message>
        <source>Not given</source>
        <translation>未填写</translation>
    </message>
</context>
<context>
    <name>login</name>
    <message>
        <source>Stay signed in</source>
        <translation>保持登录</translation>
    </message>
</context>
<context>
    <name>userInfo</name>
    <message>
        <source>First Name</source>
        <translation>名</translation>
    </message>
    <message>
        <source>Middle Name</source>
        <translation>中间名</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>姓</translation>
    </message>
    <message>
        <source>Company</source>
        <translation>公司</translation>
    </message>
    <message>
        <source>Telephone</source>
        <translation>电话</translation>
    </message>
    <message>
        <source>Fax</source>
        <translation>传真</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>地址</translation>
    </message>
    <message>
        <source>City</source>
        <translation>城市</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>州/省</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>国家</translation>
    </message>
    <message>
        <source>Zip Code</source>
        <translation>邮政编码</translation>
    </message>
</context>
</TS>
