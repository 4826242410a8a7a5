<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AddressQuery</name>
    <message>
        <source>The service cannot be reached. Please check the network and try again.</source>
        <translation>无法连接服务器，请检查网络后重试。</translation>
    </message>
    <message>
        <source>The service named no download address.</source>
        <translation>服务器未提供下载地址。</translation>
    </message>
    <message>
        <source>The service answered with an error (HTTP %1).</source>
        <translation>服务器返回了错误（HTTP %1）。</translation>
    </message>
    <message>
        <source>The service&apos;s answer could not be read.</source>
        <translation>无法读取服务器的应答。</translation>
    </message>
</context>
<context>
    <name>ArchiveInstall</name>
    <message>
        <source>The update of this program did not come over a secure (https) address. It was not installed.</source>
        <translation>本程序的更新不是通过安全（https）地址获取的，未安装。</translation>
    </message>
    <message>
        <source>The update of this program is not a Debian package. It was not installed.</source>
        <translation>本程序的更新不是 Debian 软件包，未安装。</translation>
    </message>
    <message>
        <source>The update of this program does not have the size the service announced. It was not installed.</source>
        <translation>本程序的更新与服务公布的大小不符，未安装。</translation>
    </message>
    <message>
        <source>The update of this program does not have the checksum the service announced. It was not installed.</source>
        <translation>本程序的更新与服务公布的校验和不符，未安装。</translation>
    </message>
    <message>
        <source>The update of this program could not be kept safe on this computer. It was not installed.</source>
        <translation>无法在本电脑上安全保存本程序的更新，未安装。</translation>
    </message>
    <message>
        <source>The update of this program was not confirmed.</source>
        <translation>本程序的更新未经确认。</translation>
    </message>
    <message>
        <source>The installer could not be opened.</source>
        <translation>无法打开安装程序。</translation>
    </message>
    <message>
        <source>There is no SD card to install onto.</source>
        <translation>没有可供安装的SD卡。</translation>
    </message>
    <message>
        <source>The install was stopped.</source>
        <translation>安装已停止。</translation>
    </message>
    <message>
        <source>The archive is damaged. Retry downloads it again.</source>
        <translation>安装包已损坏，重试时将重新下载。</translation>
    </message>
    <message>
        <source>There is not enough space on the SD card.</source>
        <translation>SD卡空间不足。</translation>
    </message>
    <message>
        <source>The install was stopped. The card keeps what it had.</source>
        <translation>安装已停止，SD卡保留原有内容。</translation>
    </message>
    <message>
        <source>The SD card could not be written. It keeps what it had.</source>
        <translation>无法写入SD卡，SD卡保留原有内容。</translation>
    </message>
    <message>
        <source>%1 is on the card without this patch.</source>
        <translation>SD卡上的%1未安装此补丁。</translation>
    </message>
    <message>
        <source>Nothing on the card was changed.</source>
        <translation>SD卡上的内容未做任何更改。</translation>
    </message>
    <message>
        <source>The archive does not hold %1.</source>
        <translation>安装包中没有%1。</translation>
    </message>
    <message>
        <source>The archive holds another version than %1.</source>
        <translation>安装包中的版本不是%1。</translation>
    </message>
    <message>
        <source>The SD card no longer holds what the list showed: is it another card with the same serial number? Return to the list to see what it holds now. Nothing on the card was changed.</source>
        <translation>SD卡上的内容与列表显示的不一致：是否换成了序列号相同的另一张SD卡？请返回列表查看SD卡现在的内容。SD卡上的内容未做任何更改。</translation>
    </message>
    <message>
        <source>The SD card gave back different data than was written to it: it may be failing or counterfeit. The installed version was kept.</source>
        <translation>SD卡读回的数据与写入的数据不一致：这张SD卡可能已损坏或是假冒产品。已保留原有版本。</translation>
    </message>
    <message>
        <source>The SD card could not read back what was written to it: it may be failing. The installed version was kept.</source>
        <translation>无法从 SD 卡读回写入的数据：SD 卡可能已损坏。已保留原安装版本。</translation>
    </message>
</context>
<context>
    <name>ArchiveTransfer</name>
    <message>
        <source>The download address is not secure (https).</source>
        <translation>下载地址不安全（非 https）。</translation>
    </message>
    <message>
        <source>The download address is not a web address.</source>
        <translation>下载地址不是网址。</translation>
    </message>
    <message>
        <source>The download server answered %1.</source>
        <translation>下载服务器返回了%1。</translation>
    </message>
    <message>
        <source>The download stalled. Retry resumes it.</source>
        <translation>下载停滞，重试时将继续下载。</translation>
    </message>
    <message>
        <source>The download server sent more than the archive can be; what arrived was deleted.</source>
        <translation>下载服务器发送的数据超出了安装包的大小，已删除收到的数据。</translation>
    </message>
    <message>
        <source>The download ended before the archive was complete.</source>
        <translation>安装包尚未下载完整，下载就中断了。</translation>
    </message>
    <message>
        <source>The archive changed on the server during the download.</source>
        <translation>下载期间服务器上的安装包发生了变化。</translation>
    </message>
    <message>
        <source>The archive could not be written to this computer&apos;s disk.</source>
        <translation>无法将安装包写入本机磁盘。</translation>
    </message>
    <message>
        <source>There is not enough space on this computer&apos;s disk.</source>
        <translation>本机磁盘空间不足。</translation>
    </message>
    <message>
        <source>The download server sent it somewhere it may not go.</source>
        <translation>下载服务器将下载转到了不允许的地址。</translation>
    </message>
    <message>
        <source>The connection to the download server failed. Retry resumes it.</source>
        <translation>与下载服务器的连接失败，重试时将继续下载。</translation>
    </message>
    <message>
        <source>The download server sent something that is not an archive; it was deleted.</source>
        <translation>下载服务器发送的不是安装包，已将其删除。</translation>
    </message>
</context>
<context>
    <name>CardBox</name>
    <message>
        <source>Serial Number: %1</source>
        <translation>序列号：%1</translation>
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
    <name>CardCheckWidget</name>
    <message>
        <source>Check Card</source>
        <translation>检查SD卡</translation>
    </message>
    <message>
        <source>SD card %1</source>
        <translation>SD卡 %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>详情</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Reinstall Damaged</source>
        <translation>重装已损坏的软件</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>Reading back every file Ostrel installed on the SD card...</source>
        <translation>正在读回Ostrel安装到SD卡上的每个文件...</translation>
    </message>
    <message>
        <source>Reading back every file Ostrel installed on the SD card... %1%</source>
        <translation>正在读回Ostrel安装到SD卡上的每个文件... %1%</translation>
    </message>
    <message>
        <source>Intact</source>
        <translation>完好</translation>
    </message>
    <message>
        <source>Damaged</source>
        <translation>已损坏</translation>
    </message>
    <message>
        <source>Changed outside Ostrel</source>
        <translation>已被Ostrel以外的程序更改</translation>
    </message>
    <message>
        <source>Not recorded</source>
        <translation>无记录</translation>
    </message>
    <message>
        <source>The check was stopped.</source>
        <translation>检查已停止。</translation>
    </message>
    <message>
        <source>The SD card was removed during the check.</source>
        <translation>检查过程中SD卡已被拔出。</translation>
    </message>
    <message>
        <source>Ostrel installed %1 here.</source>
        <translation>Ostrel在此安装的是%1。</translation>
    </message>
    <message>
        <source>%1 intact, %2 damaged, %3 changed outside Ostrel, %4 not recorded.</source>
        <translation>完好%1个，已损坏%2个，被Ostrel以外的程序更改%3个，无记录%4个。</translation>
    </message>
</context>
<context>
    <name>DownloadBatch</name>
    <message>
        <source>Download...</source>
        <translation>下载中...</translation>
    </message>
    <message>
        <source>Download Done</source>
        <translation>下载完成</translation>
    </message>
    <message>
        <source>Download Failed</source>
        <translation>下载失败</translation>
    </message>
    <message>
        <source>Decompress...</source>
        <translation>解压中...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>Install Failed</source>
        <translation>安装失败</translation>
    </message>
    <message>
        <source>Card removed</source>
        <translation>SD卡已拔出</translation>
    </message>
    <message>
        <source>Verifying...</source>
        <translation>校验中...</translation>
    </message>
    <message>
        <source>Installer opened</source>
        <translation>已打开安装程序</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>未安装</translation>
    </message>
</context>
<context>
    <name>DownloadWidget</name>
    <message>
        <source>Install version %1 of Ostrel now?
Your system&apos;s software installer opens the downloaded file %2 and asks for your password.</source>
        <translation>现在安装 Ostrel 版本 %1 吗？
系统的软件安装程序将打开已下载的文件 %2 并要求输入密码。</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>下载</translation>
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
        <source>Updatable Versions</source>
        <translation>可更新版本</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Return</source>
        <translation>返回</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>Failed to download/install some software. Please try again.</source>
        <translation>部分软件下载/安装失败，请重试。</translation>
    </message>
    <message>
        <source>All software downloads are successfully installed!</source>
        <translation>所有软件均已下载并安装成功！</translation>
    </message>
    <message>
        <source>Some software is downloading or installing. Are you sure you want to quit?</source>
        <translation>部分软件正在下载或安装，确定要退出吗？</translation>
    </message>
    <message>
        <source>Uninstalling softwares, please wait a moment!</source>
        <translation>正在卸载软件，请稍候！</translation>
    </message>
    <message>
        <source>No U disk was found. Please check and try again.</source>
        <translation>未找到SD卡，请检查后重试。</translation>
    </message>
    <message>
        <source>U Disk Inserted!</source>
        <translation>SD卡已插入！</translation>
    </message>
    <message>
        <source>U disk has been pulled out!</source>
        <translation>SD卡已拔出！</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1：%2</translation>
    </message>
    <message>
        <source>The SD card was removed. Put it back and press Retry.</source>
        <translation>SD卡已被拔出。请重新插入SD卡，然后点击“重试”。</translation>
    </message>
    <message>
        <source>The SD card is back. Press Retry to finish the update.</source>
        <translation>SD卡已重新插入。请点击“重试”完成升级。</translation>
    </message>
    <message>
        <source>This SD card (%1) is not the card of this update. Put back the SD card %2.</source>
        <translation>这张SD卡（%1）不是本次升级的SD卡。请插回SD卡 %2。</translation>
    </message>
    <message>
        <source>verifying %1</source>
        <translation>校验 %1</translation>
    </message>
    <message>
        <source>The SD card can now be removed.</source>
        <translation>现在可以拔出SD卡了。</translation>
    </message>
    <message>
        <source>The update has ended.</source>
        <translation>更新已结束。</translation>
    </message>
</context>
<context>
    <name>HistoryWidget</name>
    <message>
        <source>Update History</source>
        <translation>升级记录</translation>
    </message>
    <message>
        <source>SD card %1</source>
        <translation>SD卡 %1</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>From</source>
        <translation>原版本</translation>
    </message>
    <message>
        <source>To</source>
        <translation>新版本</translation>
    </message>
    <message>
        <source>Result</source>
        <translation>结果</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>Verified</source>
        <translation>已校验</translation>
    </message>
    <message>
        <source>No updates of this SD card are recorded yet.</source>
        <translation>此SD卡还没有升级记录。</translation>
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
        <source>Return</source>
        <translation>返回</translation>
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
        <source>Stopped</source>
        <translation>已停止</translation>
    </message>
</context>
<context>
    <name>LanguageTable</name>
    <message>
        <source>Chinese Simplified</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>Chinese Traditional(TW)</source>
        <translation>繁体中文(台湾)</translation>
    </message>
    <message>
        <source>Chinese Traditional(HK)</source>
        <translation>繁体中文(香港)</translation>
    </message>
    <message>
        <source>German</source>
        <translation>德语</translation>
    </message>
    <message>
        <source>English</source>
        <translation>英语</translation>
    </message>
    <message>
        <source>Spanish</source>
        <translation>西班牙语</translation>
    </message>
    <message>
        <source>French</source>
        <translation>法语</translation>
    </message>
    <message>
        <source>Hungarian</source>
        <translation>匈牙利语</translation>
    </message>
    <message>
        <source>Italian</source>
        <translation>意大利语</translation>
    </message>
    <message>
        <source>Japanese</source>
        <translation>日语</translation>
    </message>
    <message>
        <source>Korean</source>
        <translation>韩语</translation>
    </message>
    <message>
        <source>Dutch</source>
        <translation>荷兰语</translation>
    </message>
    <message>
        <source>Polish</source>
        <translation>波兰语</translation>
    </message>
    <message>
        <source>Portuguese</source>
        <translation>葡萄牙语</translation>
    </message>
    <message>
        <source>Russian</source>
        <translation>俄语</translation>
    </message>
    <message>
        <source>Swedish</source>
        <translation>瑞典语</translation>
    </message>
    <message>
        <source>Thai</source>
        <translation>泰语</translation>
    </message>
    <message>
        <source>Slovak</source>
        <translation>斯洛伐克语</translation>
    </message>
    <message>
        <source>Czech</source>
        <translation>捷克语</translation>
    </message>
</context>
<context>
    <name>MyTableModel</name>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
</context>
<context>
    <name>SelectVehicleWidget</name>
    <message>
        <source>Select One Vehicle Software</source>
        <translation>选择一个车型软件</translation>
    </message>
    <message>
        <source>Serial Number:</source>
        <translation>序列号：</translation>
    </message>
    <message>
        <source>Software Language:</source>
        <translation>软件语言：</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Operation</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>Submit</source>
        <translation>提交</translation>
    </message>
    <message>
        <source>Configurate Successfully！</source>
        <translation>配置成功！</translation>
    </message>
    <message>
        <source>The product does not need to be reconfigured！</source>
        <translation>该产品无需重新配置！</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>升级</translation>
    </message>
</context>
<context>
    <name>SoftwareInfoWidget</name>
    <message>
        <source>Software Update</source>
        <translation>软件升级</translation>
    </message>
    <message>
        <source>Software Language:</source>
        <translation>软件语言：</translation>
    </message>
    <message>
        <source>Upgrade</source>
        <translation>升级</translation>
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
        <source>Updatable Versions</source>
        <translation>可更新版本</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>State</source>
        <translation>状态</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>升级</translation>
    </message>
    <message>
        <source>This product is a single-vehicle software product, and there is no vehicle software yet. It is necessary to reconfigure a vehicle software. </source>
        <translation>该产品为单车型软件产品，目前还没有车型软件，需要重新配置一个车型软件。</translation>
    </message>
    <message>
        <source>Not installed</source>
        <translation>未安装</translation>
    </message>
    <message>
        <source>Update available</source>
        <translation>有可用更新</translation>
    </message>
    <message>
        <source>Up to date</source>
        <translation>已是最新</translation>
    </message>
    <message>
        <source>Always kept up to date: the scanner needs this software.</source>
        <translation>始终保持最新：诊断仪需要此软件。</translation>
    </message>
    <message numerus="yes">
        <source>%n selected · %1</source>
        <translation>
            <numerusform>已选 %n 项 · %1</numerusform>
        </translation>
    </message>
    <message>
        <source>Nothing selected</source>
        <translation>未选择软件</translation>
    </message>
    <message>
        <source>Your card is up to date</source>
        <translation>SD卡上的软件已是最新</translation>
    </message>
    <message>
        <source>Insert the scanner&apos;s SD card</source>
        <translation>请插入诊断仪的SD卡</translation>
    </message>
    <message>
        <source>U Disk Inserted!</source>
        <translation>SD卡已插入！</translation>
    </message>
    <message>
        <source>U disk has been pulled out!</source>
        <translation>SD卡已拔出！</translation>
    </message>
    <message numerus="yes">
        <source>%n ticked package(s) left out: the service lists their number twice.</source>
        <translation>
            <numerusform>已勾选的 %n 个软件包未加入升级：服务器重复列出了它们的编号。</numerusform>
        </translation>
    </message>
    <message>
        <source>Check Card</source>
        <translation>检查SD卡</translation>
    </message>
    <message>
        <source>History</source>
        <translation>升级记录</translation>
    </message>
    <message>
        <source>The update service did not answer. Check this computer&apos;s connection to the internet, then try again.</source>
        <translation>升级服务没有响应。请检查这台电脑的网络连接，然后重试。</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>重试</translation>
    </message>
</context>
<context>
    <name>TransferRate</name>
    <message>
        <source>about 1 min left</source>
        <translation>约剩 1 分钟</translation>
    </message>
    <message>
        <source>about %1 s left</source>
        <translation>约剩 %1 秒</translation>
    </message>
    <message>
        <source>about %1 min left</source>
        <translation>约剩 %1 分钟</translation>
    </message>
    <message>
        <source>about %1 h %2 min left</source>
        <translation>约剩 %1 小时 %2 分钟</translation>
    </message>
</context>
<context>
    <name>UpgradeCheck</name>
    <message>
        <source>Uninstalling softwares, please wait a moment!</source>
        <translation>正在卸载软件，请稍候！</translation>
    </message>
    <message>
        <source>Please select a software to download!</source>
        <translation>请选择要下载的软件！</translation>
    </message>
    <message>
        <source>Local disk space is insufficient, please clean up first and try again.</source>
        <translation>本地磁盘空间不足，请先清理后重试。</translation>
    </message>
    <message>
        <source>No U disk was found. Please check and try again.</source>
        <translation>未找到SD卡，请检查后重试。</translation>
    </message>
    <message>
        <source>U disk space is insufficient, please clean up first and try again.</source>
        <translation>SD卡空间不足，请先清理后重试。</translation>
    </message>
</context>
<context>
    <name>UpgradeController</name>
    <message>
        <source>Updating vehicle software</source>
        <translation>正在升级车型软件</translation>
    </message>
    <message>
        <source>The SD card was removed before this package was finished.</source>
        <translation>该软件包完成之前SD卡已被拔出。</translation>
    </message>
    <message>
        <source>The service lists this package&apos;s number for another package as well; it was left out.</source>
        <translation>服务器将此软件包的编号也用于另一个软件包，因此未加入升级。</translation>
    </message>
</context>
</TS>
