#include "SqlScanner.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

// The reserved words of standard SQL, in lower case.
constexpr std::string_view kReservedWordList =
    "absolute,action,active,actor,add,after,alias,all,allocate,alter,and,any,are,as,asc,ascending,"
    "assertion,async,at,attributes,auto,base_name,before,begin,between,bit,bit_length,boolean,both,"
    "breadth,by,cache,call,cascade,cascaded,case,cast,catalog,char_length,character_length,check,"
    "coalesce,collate,collation,column,commit,committed,completion,computed,conditional,connect,"
    "connection,constraint,constraints,containing,convert,corresponding,count,create,cross,current,"
    "current_date,current_path,current_time,current_timestamp,current_user,cursor,cycle,data,"
    "database,date,day,deallocate,debug,declare,default,deferrable,deferred,delete,depth,desc,"
    "descending,describe,descriptor,destroy,diagnostics,dictionary,disconnect,distinct,do,domain,"
    "drop,each,element,else,elseif,end,end-exec,entry_point,equals,escape,except,exception,execute,"
    "exists,exit,external,extract,factor,false,filter,first,for,foreign,from,full,function,general,"
    "generator,get,global,grant,group,having,hold,hour,identity,if,ignore,immediate,in,inactive,"
    "index,initially,inner,input,insensitive,insert,instead,intersect,interval,into,is,isolation,"
    "join,key,last,leading,leave,left,less,level,like,limit,list,local,loop,lower,match,merge,minute,"
    "modify,month,names,national,natural,nchar,new,new_table,next,no,none,not,null,nullif,object,"
    "octet_length,of,off,old,old_table,on,only,operation,operator,operators,or,order,others,outer,"
    "output,overlaps,pad,parameter,parameters,partial,password,path,pendant,plan,position,postfix,"
    "prefix,preorder,prepare,preserve,primary,prior,private,privileges,procedure,protected,read,"
    "recursive,ref,referencing,relative,replace,resignal,restrict,retain,return,returns,revoke,right,"
    "role,rollback,routine,row,rows,savepoint,schema,scroll,search,second,select,sensitive,sequence,"
    "session,session_user,set,shadow,shared,signal,similar,size,snapshot,some,space,sqlexception,"
    "sqlstate,sqlwarning,start,state,structure,substring,suspend,symbol,system_user,table,temporary,"
    "term,test,then,there,time,timestamp,timezone_hour,timezone_minute,to,trailing,transaction,"
    "translate,translation,trigger,trim,true,tuple,type,uncommitted,under,union,unique,unknown,"
    "update,upper,usage,user,using,value,varchar,variable,varying,view,virtual,visible,wait,when,"
    "where,while,with,without,work,write,year,zone";

constexpr size_t kLongestWord = 17;

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::uint32_t HashLower(std::string_view word)
{
    std::uint32_t hash = 2166136261u;
    for (char c : word)
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 16777619u;
    return hash;
}

// Open addressing over the entries of the list, cut at its commas.
class TReservedWordTable {
public:
    TReservedWordTable()
    {
        size_t begin = 0;
        while (begin <= kReservedWordList.size()) {
            size_t end = kReservedWordList.find(',', begin);
            if (end == std::string_view::npos)
                end = kReservedWordList.size();
            Add(kReservedWordList.substr(begin, end - begin));
            begin = end + 1;
        }
    }

    bool Contains(std::string_view word) const
    {
        if (word.empty() || word.size() > kLongestWord)
            return false;
        for (std::uint32_t slot = HashLower(word) & kMask;; slot = (slot + 1) & kMask) {
            const std::string_view entry = slots_[slot];
            if (entry.empty())
                return false;
            if (entry.size() == word.size() && EqualsIgnoringCase(entry, word))
                return true;
        }
    }

private:
    static constexpr std::uint32_t kMask = 1023;

    static bool EqualsIgnoringCase(std::string_view lower, std::string_view word)
    {
        for (size_t i = 0; i < word.size(); ++i)
            if (LowerAscii(word[i]) != lower[i])
                return false;
        return true;
    }

    void Add(std::string_view entry)
    {
        std::uint32_t slot = HashLower(entry) & kMask;
        while (!slots_[slot].empty())
            slot = (slot + 1) & kMask;
        slots_[slot] = entry;
    }

    std::array<std::string_view, kMask + 1> slots_{};
};

} // namespace

bool IsSqlReservedWord(std::string_view word)
{
    static const TReservedWordTable table;
    return table.Contains(word);
}
